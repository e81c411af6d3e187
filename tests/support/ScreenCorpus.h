// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Realistic screens drawn from the mock-ups in tests/data/screens, with the text they really show, and the
// measures a recognition is judged by. Rendering needs a QGuiApplication.
namespace ScreenCorpus {

struct TrueLine
{
    QString text;
    QRectF box; // in pixels of the rendered image
    QString pane;
    bool heading = false;
};

struct Screen
{
    QString name;
    QImage image;
    QSize size;
    QStringList subjects; // alternative phrases, any of which names the screen's subject
    QString namingLimit;  // why the naming rules miss the subject of a screen read right
    bool dark = false;
    std::vector<TrueLine> lines;
};

// A recognised line in pixels, from whichever recogniser is judged.
struct ReadLine
{
    QString text;
    QRectF box;
};

struct Reading
{
    int errors = 0;     // edits turning what was read into the true text, plus text read where there is none
    int characters = 0; // characters of the true text
    int headingErrors = 0;
    int headingCharacters = 0;
    QStringList spanning; // lines read across two panes

    double errorRate() const { return characters ? double(errors) / characters : 0; }
    double headingErrorRate() const { return headingCharacters ? double(headingErrors) / headingCharacters : 0; }
};

// The names of the mock-ups, sorted.
QStringList names();
std::optional<Screen> render(const QString &name, QString *error = nullptr);

// Each true line is compared with the lines read over it (their centre within its height, overlapping it
// sideways), left to right; read lines over no true line count in full as errors.
Reading judge(const Screen &screen, const std::vector<ReadLine> &read);

// Whether a title carries every word of one of the subject's phrases (case and ё/е aside).
bool namesSubject(const Screen &screen, const QString &title);
// Title words made mostly of symbols that the screen does not show: icons, check boxes, window buttons.
QStringList debris(const Screen &screen, const QString &title);

} // namespace ScreenCorpus
