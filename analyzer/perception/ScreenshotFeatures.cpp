// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ScreenshotFeatures.h"

#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <unordered_map>

namespace {

bool isLetter(char32_t c)
{
    return u_isalpha(static_cast<UChar32>(c));
}

bool isNumeric(char32_t c)
{
    return u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_NUMERIC_TYPE) != U_NT_NONE;
}

// Lines that differ only in their numbers (list items, timestamps) share a key.
QString lineKey(const QString &text)
{
    QString key;
    key.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (isNumeric(c)) {
            key += QLatin1Char('0');
        } else {
            key += QString::fromUcs4(&c, 1);
        }
    }
    return key;
}

struct CondensedRun
{
    const std::vector<ScreenshotFeatures::Line> &lines;
    const std::unordered_map<QString, int> &counts;
    std::set<QString> &seen;

    QString emit(std::size_t from, std::size_t to, int budget) const
    {
        QString out;
        for (std::size_t i = from; i < to; ++i) {
            const QString key = lineKey(lines[i].text);
            if (seen.count(key) != 0) {
                continue;
            }
            QString piece = lines[i].text;
            const int count = counts.at(key);
            if (count >= 2) {
                piece += QStringLiteral(" ×") + QString::number(count);
            }
            piece += QLatin1Char('\n');
            const int length = ScreenshotFeatures::graphemeCount(piece);
            if (length > budget) {
                break;
            }
            seen.insert(key);
            out += piece;
            budget -= length;
        }
        return out;
    }
};

} // namespace

double ScreenshotFeatures::prominence(const Line &line)
{
    const double position = line.top < 0.25 ? 1.3 : (line.top < 0.5 ? 1.1 : 1.0);
    const double letters = letterCount(line.text);
    return line.height * position * (0.5 + 0.5 * line.confidence) * (0.4 + 0.6 * std::min(1.0, letters / 12.0));
}

std::vector<ScreenshotFeatures::Line> ScreenshotFeatures::prominentLines() const
{
    std::vector<std::pair<double, Line>> scored;
    scored.reserve(lines.size());
    for (const Line &line : lines) {
        scored.emplace_back(prominence(line), line);
    }
    std::stable_sort(scored.begin(), scored.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    std::vector<Line> result;
    result.reserve(scored.size());
    for (auto &entry : scored) {
        result.push_back(std::move(entry.second));
    }
    return result;
}

bool ScreenshotFeatures::hasMeaningfulText() const
{
    int longWords = 0;
    for (const Line &line : lines) {
        int run = 0;
        const auto flush = [&] {
            if (run >= 4) {
                ++longWords;
            }
            run = 0;
        };
        for (const char32_t c : line.text.toUcs4()) {
            if (isLetter(c)) {
                ++run;
            } else {
                flush();
            }
        }
        flush();
        if (longWords >= 2) {
            return true;
        }
    }
    return false;
}

QString ScreenshotFeatures::allText() const
{
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(lines.size()));
    for (const Line &line : lines) {
        texts.append(line.text);
    }
    return texts.join(QLatin1Char('\n'));
}

std::vector<ScreenshotFeatures::Line> ScreenshotFeatures::standaloneLines() const
{
    std::vector<Line> result;
    for (const Line &l : lines) {
        const bool inBlock = std::any_of(lines.begin(), lines.end(), [&l](const Line &m) {
            const double d = std::abs(m.top - l.top);
            return d > 0.0005 && d < 2.2 * l.height && std::abs(m.left - l.left) < 0.012 &&
                   std::abs(m.height - l.height) < 0.2 * l.height;
        });
        if (!inBlock) {
            result.push_back(l);
        }
    }
    return result;
}

QString ScreenshotFeatures::condensedText(int maxCharacters) const
{
    std::unordered_map<QString, int> counts;
    for (const Line &line : lines) {
        ++counts[lineKey(line.text)];
    }
    std::set<QString> seen;
    const CondensedRun run{lines, counts, seen};
    const std::size_t total = lines.size();
    if (mainColumnCount && *mainColumnCount > 0 && static_cast<std::size_t>(*mainColumnCount) < total) {
        const auto main = static_cast<std::size_t>(*mainColumnCount);
        const QString partA = run.emit(0, main, 3 * maxCharacters / 4);
        const QString partB = run.emit(main, total, maxCharacters - graphemeCount(partA) - 1);
        return partB.isEmpty() ? partA : partA + QLatin1Char('\n') + partB;
    }
    return run.emit(0, total, maxCharacters);
}

double ScreenshotFeatures::cyrillicShare(const QString &text)
{
    int alphabetic = 0;
    int cyrillic = 0;
    for (const char32_t c : text.toUcs4()) {
        if (u_isUAlphabetic(static_cast<UChar32>(c))) {
            ++alphabetic;
            if (c >= 0x0400 && c <= 0x052F) {
                ++cyrillic;
            }
        }
    }
    return alphabetic == 0 ? 0.0 : static_cast<double>(cyrillic) / alphabetic;
}

int ScreenshotFeatures::letterCount(const QString &text)
{
    const auto scalars = text.toUcs4();
    return static_cast<int>(std::count_if(scalars.begin(), scalars.end(), isLetter));
}

int ScreenshotFeatures::graphemeCount(const QString &text)
{
    // A character iterator is costly to create and not thread-safe, so each thread keeps one.
    thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> created(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        return U_SUCCESS(status) ? std::move(created) : nullptr;
    }();
    if (!iterator) {
        return static_cast<int>(text.toUcs4().size());
    }
    const icu::UnicodeString unicode(reinterpret_cast<const UChar *>(text.utf16()), static_cast<int32_t>(text.size()));
    iterator->setText(unicode);
    int count = 0;
    iterator->first();
    while (iterator->next() != icu::BreakIterator::DONE) {
        ++count;
    }
    return count;
}
