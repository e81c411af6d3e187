// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FileNameBuilder.h"

#include "IcuText.h"

#include <QtGlobal>

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/regex.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace IcuText;
using icu::UnicodeString;

namespace {

std::unique_ptr<icu::RegexPattern> compile(const char16_t *pattern, const char *name)
{
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError;
    std::unique_ptr<icu::RegexPattern> compiled(icu::RegexPattern::compile(UnicodeString(pattern), parseError, status));
    checkIcu(status, name);
    return compiled;
}

// RegexPattern is immutable once built and safe to share between threads; matchers are made per call.
struct Patterns
{
    std::unique_ptr<icu::RegexPattern> email = compile(uR"([\w.+-]+@[\w-]+\.[\w.-]+)", "emailRegex");
    std::unique_ptr<icu::RegexPattern> longNumber = compile(uR"(\+?\(?(?:\d[\s()-]?){9,})", "longNumberRegex");
    std::unique_ptr<icu::RegexPattern> urlScheme = compile(uR"((?i)\bhttps?://|www\.)", "urlSchemeRegex");
    std::unique_ptr<icu::RegexPattern> scriptBoundary = compile(
        uR"((\p{Script=Cyrillic})(\p{Script=Latin})|(\p{Script=Latin})(\p{Script=Cyrillic}))", "scriptBoundary");
    std::unique_ptr<icu::RegexPattern> genericLead =
        compile(uR"((?i)^(?:(?:screenshot|screen shot|screen capture|скриншот|снимок экрана|снимок)\b[\s:—–-]*)"
                uR"((?:(?:of|с|экрана)\b\s*)?|(?:image|picture|изображение|картинка)\s*(?:of\b|:)\s*))",
                "genericLead");
};

const Patterns &patterns()
{
    static const Patterns instance;
    return instance;
}

UnicodeString replace(const icu::RegexPattern &pattern, const UnicodeString &text, const UnicodeString &with, bool all)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher(pattern.matcher(text, status));
    UnicodeString result = all ? matcher->replaceAll(with, status) : matcher->replaceFirst(with, status);
    checkIcu(status, "a replacement");
    return result;
}

UnicodeString replaceAll(const icu::RegexPattern &pattern, const UnicodeString &text, const UnicodeString &with)
{
    return replace(pattern, text, with, true);
}

UnicodeString replaceFirst(const icu::RegexPattern &pattern, const UnicodeString &text, const UnicodeString &with)
{
    return replace(pattern, text, with, false);
}

UnicodeString nfc(const UnicodeString &text)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2 *normalizer = icu::Normalizer2::getNFCInstance(status);
    checkIcu(status, "the NFC normaliser");
    UnicodeString result = normalizer->normalize(text, status);
    checkIcu(status, "NFC text");
    return result;
}

// Offsets of the user-perceived character boundaries, from 0 to the length inclusive.
std::vector<int32_t> graphemeBoundaries(const UnicodeString &text)
{
    static const std::unique_ptr<icu::BreakIterator> prototype = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> iterator(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        checkIcu(status, "the character break iterator");
        return iterator;
    }();
    // Break iterators keep position state, so each call works on its own copy.
    std::unique_ptr<icu::BreakIterator> iterator(prototype->clone());
    iterator->setText(text);
    std::vector<int32_t> boundaries;
    for (int32_t at = iterator->first(); at != icu::BreakIterator::DONE; at = iterator->next())
        boundaries.push_back(at);
    if (boundaries.empty())
        boundaries.push_back(0);
    return boundaries;
}

int32_t characterCount(const UnicodeString &text)
{
    return static_cast<int32_t>(graphemeBoundaries(text).size()) - 1;
}

bool isIllegal(UChar32 c)
{
    switch (c) {
    case u'/':
    case u'\\':
    case u':':
    case u'*':
    case u'?':
    case u'"':
    case u'<':
    case u'>':
    case u'|':
        return true;
    default:
        break;
    }
    const int8_t type = u_charType(c);
    return type == U_CONTROL_CHAR || type == U_LINE_SEPARATOR || type == U_PARAGRAPH_SEPARATOR;
}

// Characters that change how a name is shown without being seen: a right-to-left override can make "gpj.exe"
// read as "exe.jpg".
bool isBidiControl(UChar32 c)
{
    return u_hasBinaryProperty(c, UCHAR_BIDI_CONTROL);
}

// Every invisible formatting character: zero-width spaces, byte order marks, direction marks, soft hyphens.
bool isFormatCharacter(UChar32 c)
{
    return u_charType(c) == U_FORMAT_CHAR;
}

bool isDroppedEmoji(UChar32 c)
{
    if (c == 0xFE0F || c == 0x200D)
        return true;
    if (u_hasBinaryProperty(c, UCHAR_EMOJI_PRESENTATION))
        return true;
    // Digits, '#', '*', © and ® are Emoji too but lie below U+2001 and belong in names.
    return c >= 0x2001 && u_hasBinaryProperty(c, UCHAR_EMOJI);
}

bool isQuote(UChar32 c)
{
    return c == u'«' || c == u'»' || c == u'“' || c == u'”' || c == u'`';
}

// White space, punctuation and symbols, except the ends of "A+", "#", "Q&A", "(beta)" and "[final]".
bool isTrimmed(UChar32 c)
{
    if (c == u'+' || c == u'#' || c == u'&' || c == u')' || c == u']')
        return false;
    if (u_isUWhiteSpace(c))
        return true;
    const uint32_t mask = U_GC_P_MASK | U_GC_S_MASK;
    return (U_GET_GC_MASK(c) & mask) != 0;
}

bool isSpaceOrTab(UChar32 c)
{
    return c == u' ' || c == u'\t';
}

template <typename Predicate>
UnicodeString trimmed(const UnicodeString &text, Predicate inSet)
{
    int32_t start = 0;
    int32_t end = text.length();
    while (start < end) {
        const UChar32 c = text.char32At(start);
        if (!inSet(c))
            break;
        start += U16_LENGTH(c);
    }
    while (end > start) {
        const UChar32 c = text.char32At(end - 1);
        if (!inSet(c))
            break;
        end -= U16_LENGTH(c);
    }
    return UnicodeString(text, start, end - start);
}

// Splits where `isBreak` holds, drops empty pieces and joins the rest with `glue`.
template <typename Predicate>
UnicodeString rejoined(const UnicodeString &text, Predicate isBreak, const UnicodeString &glue)
{
    UnicodeString result;
    UnicodeString piece;
    auto flush = [&] {
        if (piece.isEmpty())
            return;
        if (!result.isEmpty())
            result += glue;
        result += piece;
        piece.remove();
    };
    for (int32_t i = 0; i < text.length();) {
        const UChar32 c = text.char32At(i);
        if (isBreak(c))
            flush();
        else
            piece.append(c);
        i += U16_LENGTH(c);
    }
    flush();
    return result;
}

UnicodeString withoutLeadingDots(const UnicodeString &text)
{
    int32_t start = 0;
    while (start < text.length() && text.charAt(start) == u'.')
        ++start;
    return UnicodeString(text, start);
}

int64_t utf8Length(const UnicodeString &text, int32_t start, int32_t end)
{
    int64_t bytes = 0;
    for (int32_t i = start; i < end;) {
        const UChar32 c = text.char32At(i);
        bytes += U8_LENGTH(c) > 0 ? U8_LENGTH(c) : 3; // a lone surrogate is written as U+FFFD
        i += U16_LENGTH(c);
    }
    return bytes;
}

// Drops whole user-perceived characters from the end until the UTF-8 form fits.
UnicodeString cappedInBytes(const UnicodeString &text)
{
    int64_t bytes = utf8Length(text, 0, text.length());
    if (bytes <= FileNameBuilder::maximumBytes)
        return text;
    const std::vector<int32_t> boundaries = graphemeBoundaries(text);
    std::size_t last = boundaries.size() - 1;
    while (last > 0 && bytes > FileNameBuilder::maximumBytes) {
        bytes -= utf8Length(text, boundaries[last - 1], boundaries[last]);
        --last;
    }
    return UnicodeString(text, 0, boundaries[last]);
}

bool hasLetterOrNumber(const UnicodeString &text)
{
    for (int32_t i = 0; i < text.length();) {
        const UChar32 c = text.char32At(i);
        if (u_isUAlphabetic(c) || (U_GET_GC_MASK(c) & U_GC_N_MASK) != 0)
            return true;
        i += U16_LENGTH(c);
    }
    return false;
}

icu::Locale icuLocale(const QLocale &locale)
{
    return icu::Locale(locale.name().toLatin1().constData());
}

UnicodeString upperFirstCharacter(const UnicodeString &word, const icu::Locale &locale)
{
    if (word.isEmpty())
        return word;
    const std::vector<int32_t> boundaries = graphemeBoundaries(word);
    UnicodeString first(word, 0, boundaries[1]);
    first.toUpper(locale);
    return first + UnicodeString(word, boundaries[1]);
}

bool hasUpperCase(const UnicodeString &word)
{
    for (int32_t i = 0; i < word.length();) {
        const UChar32 c = word.char32At(i);
        if (u_isUUppercase(c))
            return true;
        i += U16_LENGTH(c);
    }
    return false;
}

// Extensions of the image files the application picks up; a title often ends in its file's name.
constexpr const char16_t *imageExtensions[] = {u"png", u"jpg",  u"jpeg", u"heic", u"heif",
                                               u"tif", u"tiff", u"gif",  u"bmp",  u"webp"};

UnicodeString withoutImageExtension(UnicodeString text)
{
    for (const char16_t *extension : imageExtensions) {
        const UnicodeString ending = UnicodeString(u".") + UnicodeString(extension);
        const int32_t start = text.length() - ending.length();
        if (start >= 0 && UnicodeString(text, start).caseCompare(ending, U_FOLD_CASE_DEFAULT) == 0)
            text.truncate(start);
    }
    return text;
}

} // namespace

namespace FileNameBuilder {

QString sanitizeTitle(const QString &title)
{
    const Patterns &regex = patterns();
    UnicodeString text = nfc(toIcu(title));

    // Models sometimes echo the field label.
    static const UnicodeString label(u"title:");
    if (text.length() >= label.length() &&
        UnicodeString(text, 0, label.length()).caseCompare(label, U_FOLD_CASE_DEFAULT) == 0)
        text.remove(0, label.length());

    text = replaceAll(*regex.email, text, u" ");
    text = replaceAll(*regex.longNumber, text, u" ");
    text = replaceAll(*regex.urlScheme, text, UnicodeString());
    text = withoutImageExtension(text);
    // The colon of an opening such as "Picture:" turns into a space below, so openings are removed here too.
    text = replaceFirst(*regex.genericLead, text, UnicodeString());

    UnicodeString kept;
    for (int32_t i = 0; i < text.length();) {
        const UChar32 c = text.char32At(i);
        i += U16_LENGTH(c);
        if (isIllegal(c))
            kept.append(u' ');
        else if (!isDroppedEmoji(c) && !isQuote(c) && !isFormatCharacter(c))
            kept.append(c);
    }

    text = replaceAll(*regex.scriptBoundary, kept, u"$1$3 $2$4");
    text = replaceFirst(*regex.genericLead, text, UnicodeString());
    text = rejoined(text, isSpaceOrTab, u" ");
    text = trimmed(text, isTrimmed);
    return fromIcu(withoutLeadingDots(text));
}

QString applyCase(const QString &text, NameCase letterCase, const QLocale &locale)
{
    const icu::Locale casing = icuLocale(locale);
    UnicodeString result = toIcu(text);
    switch (letterCase) {
    case NameCase::sentence:
        if (!result.isEmpty() && u_isULowercase(result.char32At(0)))
            result = upperFirstCharacter(result, casing);
        break;
    case NameCase::lower:
        result.toLower(casing);
        break;
    case NameCase::title: {
        // Words with a capital anywhere (GitHub, iOS, API) are names and keep their spelling.
        UnicodeString words;
        int32_t start = 0;
        while (start <= result.length()) {
            int32_t end = result.indexOf(u' ', start);
            if (end < 0)
                end = result.length();
            UnicodeString word(result, start, end - start);
            if (!word.isEmpty()) {
                if (!words.isEmpty())
                    words.append(u' ');
                words += hasUpperCase(word) ? word : upperFirstCharacter(word, casing);
            }
            start = end + 1;
        }
        result = words;
        break;
    }
    }
    return fromIcu(result);
}

QString truncate(const QString &text, int maxCharacters)
{
    const UnicodeString source = toIcu(text);
    const std::vector<int32_t> boundaries = graphemeBoundaries(source);
    const int32_t count = static_cast<int32_t>(boundaries.size()) - 1;
    const int32_t n = std::max(0, maxCharacters);
    if (count <= n)
        return text;

    const UnicodeString head(source, 0, boundaries[n]);
    if (u_isUWhiteSpace(source.char32At(boundaries[n])))
        return fromIcu(trimmed(head, isTrimmed));

    const int32_t space = head.lastIndexOf(u' ');
    if (space < 0)
        return fromIcu(trimmed(head, isTrimmed));
    const auto position = std::upper_bound(boundaries.begin(), boundaries.end(), space) - boundaries.begin() - 1;
    if (position < n / 2)
        return fromIcu(trimmed(head, isTrimmed));
    return fromIcu(trimmed(UnicodeString(head, 0, space), isTrimmed));
}

QString dateString(const QDateTime &date, DateStyle style)
{
    // The POSIX locale keeps ASCII digits and the Gregorian calendar whatever the user's region.
    static const std::unique_ptr<icu::SimpleDateFormat> dayFormat = [] {
        UErrorCode status = U_ZERO_ERROR;
        auto format = std::make_unique<icu::SimpleDateFormat>(u"yyyy-MM-dd", icu::Locale("en_US_POSIX"), status);
        checkIcu(status, "the date format");
        return format;
    }();
    static const std::unique_ptr<icu::SimpleDateFormat> timeFormat = [] {
        UErrorCode status = U_ZERO_ERROR;
        auto format = std::make_unique<icu::SimpleDateFormat>(u"yyyy-MM-dd HH.mm", icu::Locale("en_US_POSIX"), status);
        checkIcu(status, "the date-time format");
        return format;
    }();
    // Formatters are not safe to share; the host zone is looked up afresh so a changed zone applies at once.
    std::unique_ptr<icu::SimpleDateFormat> format((style == DateStyle::date ? dayFormat : timeFormat)->clone());
    format->adoptTimeZone(icu::TimeZone::detectHostTimeZone());
    UnicodeString result;
    format->format(static_cast<UDate>(date.toMSecsSinceEpoch()), result);
    return fromIcu(result);
}

std::optional<QString> base(const QString &title, const QDateTime &date, const NamingOptions &options,
                            const QLocale &locale)
{
    const QString cleaned = sanitizeTitle(title);
    const UnicodeString cleanedIcu = toIcu(cleaned);
    if (characterCount(cleanedIcu) < 2 || !hasLetterOrNumber(cleanedIcu))
        return std::nullopt;

    const QString cased = applyCase(cleaned, options.letterCase, locale);
    const QString shortened = truncate(cased, std::clamp(options.maxLength, minimumLength, maximumLength));

    QString name = shortened;
    switch (options.datePosition) {
    case DatePosition::none:
        break;
    case DatePosition::prefix:
        name = dateString(date, options.dateStyle) + u' ' + shortened;
        break;
    case DatePosition::suffix:
        name = shortened + u' ' + dateString(date, options.dateStyle);
        break;
    }

    UnicodeString result = toIcu(name);
    if (options.separator != NameSeparator::space) {
        const auto isBreak = [](UChar32 c) { return u_isUWhiteSpace(c) || c == u',' || c == u';'; };
        result = rejoined(result, isBreak, toIcu(separatorCharacter(options.separator)));
    }
    result = trimmed(cappedInBytes(result), isSpaceOrTab);
    if (result.isEmpty())
        return std::nullopt;
    return fromIcu(result);
}

QString sanitizeManual(const QString &name)
{
    const UnicodeString normalised = nfc(toIcu(name));
    UnicodeString text;
    for (int32_t i = 0; i < normalised.length();) {
        const UChar32 c = normalised.char32At(i);
        i += U16_LENGTH(c);
        // Joiners stay: a name the user typed may hold emoji sequences.
        if (!isBidiControl(c))
            text.append(isIllegal(c) ? static_cast<UChar32>(u' ') : c);
    }
    text = rejoined(text, isSpaceOrTab, u" ");
    text = withoutLeadingDots(text);
    return fromIcu(trimmed(cappedInBytes(text), isSpaceOrTab));
}

} // namespace FileNameBuilder
