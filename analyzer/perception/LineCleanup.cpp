// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "LineCleanup.h"

#include <unicode/uchar.h>
#include <unicode/uscript.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace LineCleanup {

namespace {

using Observation = TextRecognizer::Observation;
using Word = TextRecognizer::Word;

// A gap wider than this many letter heights is a column gutter: word spaces stay under one height, even in
// monospaced text.
constexpr double gutterGap = 2.0;
// Measured on screens: below this confidence a word is more often misread than right.
constexpr double unsureConfidence = 0.5;
// A lone character is mostly an icon read as a letter unless the engine is quite sure.
constexpr double unsureCharacterConfidence = 0.7;
// A sure word: one in the other script than the rest of its line needs this much to stay (a badge or avatar read
// with the wrong model), and only sure words tell the page's script.
constexpr double sureConfidence = 0.85;
// A character at the end of a line this far from its neighbour is an icon, check box or button beside the text.
constexpr double strayGap = 0.5;
// Share of a page's confident letters that makes its script the context of a word standing alone.
constexpr double pageScriptShare = 0.7;

enum class Script { none, latin, cyrillic };

struct Letters
{
    int latin = 0;
    int cyrillic = 0;

    void add(const Letters &other)
    {
        latin += other.latin;
        cyrillic += other.cyrillic;
    }
    // The script of most letters, when one of them holds at least share of them.
    Script majority(double share = 0.5) const
    {
        const int total = latin + cyrillic;
        if (total == 0)
            return Script::none;
        if (latin > share * total)
            return Script::latin;
        if (cyrillic > share * total)
            return Script::cyrillic;
        return Script::none;
    }
};

Script scriptOf(char32_t c)
{
    if (!u_isalpha(static_cast<UChar32>(c)))
        return Script::none;
    UErrorCode status = U_ZERO_ERROR;
    switch (uscript_getScript(static_cast<UChar32>(c), &status)) {
    case USCRIPT_LATIN:
        return Script::latin;
    case USCRIPT_CYRILLIC:
        return Script::cyrillic;
    default:
        return Script::none;
    }
}

Letters lettersOf(const QString &text)
{
    Letters letters;
    for (const char32_t c : text.toStdU32String()) {
        const Script script = scriptOf(c);
        letters.latin += script == Script::latin ? 1 : 0;
        letters.cyrillic += script == Script::cyrillic ? 1 : 0;
    }
    return letters;
}

// Letters drawn alike in both scripts, Latin then Cyrillic.
constexpr std::array<std::pair<char32_t, char32_t>, 19> lookAlikes{{
    {U'A', U'А'}, {U'B', U'В'}, {U'C', U'С'}, {U'E', U'Е'}, {U'H', U'Н'}, {U'K', U'К'}, {U'M', U'М'},
    {U'O', U'О'}, {U'P', U'Р'}, {U'T', U'Т'}, {U'X', U'Х'}, {U'Y', U'У'}, {U'a', U'а'}, {U'c', U'с'},
    {U'e', U'е'}, {U'o', U'о'}, {U'p', U'р'}, {U'x', U'х'}, {U'y', U'у'},
}};

std::optional<char32_t> lookAlikeIn(char32_t c, Script target)
{
    for (const auto &[latin, cyrillic] : lookAlikes) {
        if (target == Script::cyrillic && c == latin)
            return cyrillic;
        if (target == Script::latin && c == cyrillic)
            return latin;
    }
    return std::nullopt;
}

// The word with its letters of the other script written in target, when every one of them has a look-alike
// there ("Ha" among Cyrillic words is "На"); otherwise the word as it is.
QString inScript(const QString &word, Script target)
{
    if (target == Script::none)
        return word;
    std::u32string text = word.toStdU32String();
    for (char32_t &c : text) {
        const Script script = scriptOf(c);
        if (script == Script::none || script == target)
            continue;
        const std::optional<char32_t> alike = lookAlikeIn(c, target);
        if (!alike)
            return word;
        c = *alike;
    }
    return QString::fromStdU32String(text);
}

std::size_t wordCharacters(const QString &text)
{
    const std::u32string scalars = text.toStdU32String();
    return static_cast<std::size_t>(
        std::count_if(scalars.begin(), scalars.end(), [](char32_t c) { return u_isalnum(static_cast<UChar32>(c)); }));
}

bool hasLetterOrDigit(const QString &text)
{
    return wordCharacters(text) > 0;
}

// Symbols that carry meaning on their own next to a number.
bool isMeaningfulSymbol(const QString &text)
{
    static const QString symbols = QStringLiteral("%№#€$£₽&");
    return text.size() == 1 && symbols.contains(text.front());
}

// Dashes, slashes and arrows that separate the parts of a title or a path; other words without a letter or digit
// are icons read as characters (©, @, brackets, bars).
bool isSeparator(const QString &text)
{
    static const QString marks = QStringLiteral("/·•›»«‹+:");
    const std::u32string scalars = text.toStdU32String();
    return std::all_of(scalars.begin(), scalars.end(), [](char32_t c) {
        return u_charType(static_cast<UChar32>(c)) == U_DASH_PUNCTUATION ||
               (c < 0x10000 && marks.contains(QChar(char16_t(c))));
    });
}

bool isLoneCharacter(const QString &text)
{
    return text.toStdU32String().size() == 1;
}

// The height of the line's letters, ascenders to descenders: that of its tallest word once words far taller than
// the usual one (icons, badges) are set aside.
double letterHeight(const std::vector<Word> &words)
{
    std::vector<int> heights;
    for (const Word &word : words)
        heights.push_back(word.box.height());
    std::sort(heights.begin(), heights.end());
    const double usual = heights[heights.size() / 2];
    const auto tallest = std::find_if(heights.rbegin(), heights.rend(), [usual](int h) { return h <= 1.5 * usual; });
    return std::max(1, *tallest);
}

int gapBetween(const Word &left, const Word &right)
{
    return right.box.left() - left.box.right() - 1;
}

// The usual space between the line's words, leaving out the gap at `skip`; 0 when there is no other gap.
double usualSpacing(const std::vector<Word> &words, std::size_t skip)
{
    std::vector<int> gaps;
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (i != skip)
            gaps.push_back(gapBetween(words[i - 1], words[i]));
    }
    if (gaps.empty())
        return 0;
    std::sort(gaps.begin(), gaps.end());
    return gaps[gaps.size() / 2];
}

// An icon or check box read as a character beside the text, at the front (or the back) of a line.
bool isStrayEnd(const std::vector<Word> &words, bool front, double height)
{
    const Word &word = front ? words.front() : words.back();
    if (!hasLetterOrDigit(word.text))
        return !isMeaningfulSymbol(word.text);
    // Mostly symbols and not sure: window buttons ("-o.*x") or a badge read as punctuation.
    if (2 * wordCharacters(word.text) < word.text.toStdU32String().size() && word.confidence < sureConfidence)
        return true;
    if (words.size() < 2 || !isLoneCharacter(word.text) || u_isdigit(static_cast<UChar32>(word.text.front().unicode())))
        return false;
    const std::size_t gapIndex = front ? 1 : words.size() - 1;
    const double gap = gapBetween(words[gapIndex - 1], words[gapIndex]);
    return gap > strayGap * height && gap > 1.5 * usualSpacing(words, gapIndex);
}

bool isUnsure(const Word &word, Script lineScript)
{
    if (word.confidence < unsureConfidence)
        return true;
    if (!hasLetterOrDigit(word.text) && !isSeparator(word.text) && !isMeaningfulSymbol(word.text))
        return true;
    if (isLoneCharacter(word.text) && word.confidence < unsureCharacterConfidence)
        return true;
    const Script script = lettersOf(word.text).majority();
    return script != Script::none && lineScript != Script::none && script != lineScript &&
           word.confidence < sureConfidence;
}

// The line made of the words kept. Words much taller than its usual word widen it but do not raise it, and it
// stays within the engine's line: the engine sometimes takes an icon, a badge or a stroke of the line above into
// a word, and a line as tall as that would pass for a heading.
std::optional<Observation> rebuilt(std::vector<Word> words, const QRect &engineLine, double confidence)
{
    if (words.empty())
        return std::nullopt;
    std::vector<int> heights;
    for (const Word &word : words)
        heights.push_back(word.box.height());
    std::sort(heights.begin(), heights.end());
    const double usualHeight = heights[(heights.size() - 1) / 2];

    Observation line;
    QStringList texts;
    QRect upright;
    for (const Word &word : words) {
        texts.append(word.text);
        line.box |= word.box;
        if (word.box.height() <= 1.5 * usualHeight)
            upright |= word.box;
    }
    const int top = std::max(upright.top(), engineLine.top());
    const int bottom = std::min(upright.bottom(), engineLine.bottom());
    line.box = QRect(QPoint(line.box.left(), top <= bottom ? top : upright.top()),
                     QPoint(line.box.right(), top <= bottom ? bottom : upright.bottom()));
    line.text = texts.join(u' ');
    line.confidence = confidence;
    line.words = std::move(words);
    if (!hasLetterOrDigit(line.text))
        return std::nullopt;
    return line;
}

// One part of a line between gutters: look-alikes written in the script around them, unsure words out, stray
// icons off both ends.
std::optional<Observation> cleanPart(std::vector<Word> words, const QRect &engineLine, Script pageScript, double height)
{
    // The part is as sure as all the words read in it, the ones left out included: a line rid of its misread
    // words must not pass for a surer one.
    double weighted = 0;
    qsizetype characters = 0;
    for (const Word &word : words) {
        weighted += word.confidence * double(word.text.size());
        characters += word.text.size();
    }
    const double confidence = characters > 0 ? weighted / double(characters) : 0;
    for (Word &word : words) {
        Letters others;
        for (const Word &other : words) {
            if (&other != &word)
                others.add(lettersOf(other.text));
        }
        // A word alone takes the page's script, when the page has a clear one.
        word.text = inScript(word.text, others.latin + others.cyrillic > 0 ? others.majority() : pageScript);
    }
    Letters all;
    for (const Word &word : words)
        all.add(lettersOf(word.text));
    const Script lineScript = all.majority();
    std::erase_if(words, [lineScript](const Word &word) { return isUnsure(word, lineScript); });
    while (!words.empty() && isStrayEnd(words, true, height))
        words.erase(words.begin());
    while (!words.empty() && isStrayEnd(words, false, height))
        words.pop_back();
    return rebuilt(std::move(words), engineLine, confidence);
}

} // namespace

std::vector<Observation> clean(const std::vector<Observation> &lines)
{
    Letters page;
    for (const Observation &line : lines) {
        for (const Word &word : line.words) {
            if (word.confidence >= sureConfidence)
                page.add(lettersOf(word.text));
        }
    }
    const Script pageScript = page.majority(pageScriptShare);

    std::vector<Observation> cleaned;
    for (const Observation &line : lines) {
        if (line.words.empty()) {
            cleaned.push_back(line);
            continue;
        }
        const double height = letterHeight(line.words);
        std::vector<Word> part{line.words.front()};
        const auto finish = [&] {
            if (std::optional<Observation> clean = cleanPart(std::move(part), line.box, pageScript, height))
                cleaned.push_back(std::move(*clean));
            part.clear();
        };
        for (std::size_t i = 1; i < line.words.size(); ++i) {
            if (gapBetween(line.words[i - 1], line.words[i]) > gutterGap * height)
                finish();
            part.push_back(line.words[i]);
        }
        finish();
    }
    return cleaned;
}

} // namespace LineCleanup
