// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// Whatever a model writes, the base name made of it is one safe file name: no separators or NULs, well-formed,
// within the byte limit, never "." or "..".
#include "FileNameBuilder.h"
#include "FuzzInput.h"

#include <QLocale>
#include <QTimeZone>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    NamingOptions options;
    options.separator = static_cast<NameSeparator>(input.byte() % 3);
    options.letterCase = static_cast<NameCase>(input.byte() % 3);
    options.datePosition = static_cast<DatePosition>(input.byte() % 3);
    options.dateStyle = static_cast<DateStyle>(input.byte() % 2);
    options.maxLength = input.byte();
    static const QLocale locales[] = {QLocale(QLocale::English), QLocale(QLocale::Russian), QLocale(QLocale::Turkish),
                                      QLocale(QLocale::German)};
    const QLocale &locale = locales[input.byte() % 4];
    const QDateTime date(QDate(2026, 11, 12), QTime(10, 42, 17), QTimeZone::utc());

    const std::optional<QString> name = FileNameBuilder::base(input.restText(), date, options, locale);
    if (!name)
        return 0;
    fuzzCheck(!name->isEmpty(), "a name is not empty");
    fuzzCheck(!name->contains(u'/') && !name->contains(QChar(0)), "no separator or NUL");
    fuzzCheck(*name != QStringLiteral(".") && *name != QStringLiteral(".."), "not a folder link");
    fuzzCheck(isWellFormed(*name), "well-formed text");
    fuzzCheck(name->toUtf8().size() <= FileNameBuilder::maximumBytes, "within the byte limit");
    fuzzCheck(isWellFormed(FileNameBuilder::sanitizeManual(input.restText())), "manual names stay well-formed");
    return 0;
}
