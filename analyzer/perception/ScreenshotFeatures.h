// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What perception found in one screenshot: its text lines in reading order, labels, language and size.
struct ScreenshotFeatures
{
    // One recognised line; geometry is normalised to the image (0…1) with the origin at the top-left.
    struct Line
    {
        QString text;
        double height = 0;
        double top = 0;
        double left = 0;
        double confidence = 0;
        double width = 0;

        bool operator==(const Line &) const = default;
    };

    std::vector<Line> lines;
    QStringList labels;
    std::optional<QString> language;
    int pixelWidth = 0;
    int pixelHeight = 0;
    std::optional<int> mainColumnCount;

    // Larger for tall, confident, wordy lines near the top of the screen.
    static double prominence(const Line &line);
    std::vector<Line> prominentLines() const;
    bool hasMeaningfulText() const;
    QString allText() const;
    std::vector<Line> standaloneLines() const;
    QString condensedText(int maxCharacters) const;

    // Share of the alphabetic scalars of text that lie in U+0400…U+052F; 0 without alphabetic scalars.
    static double cyrillicShare(const QString &text);
    static int letterCount(const QString &text);
    static int graphemeCount(const QString &text);
};
