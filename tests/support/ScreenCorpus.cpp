// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ScreenCorpus.h"

#include <QDir>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSet>

#include <unicode/uchar.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <numeric>

namespace ScreenCorpus {

namespace {

QString directory()
{
    return QStringLiteral(ZENTROPE_TEST_DATA_DIR "/screens");
}

void collect(QQuickItem *item, QString pane, std::vector<TrueLine> &lines)
{
    if (!item->isVisible() || item->opacity() <= 0)
        return;
    if (const QString own = item->property("pane").toString(); !own.isEmpty())
        pane = own;
    if (item->inherits("QQuickText") && !item->property("glyph").toBool()) {
        const QString text = item->property("text").toString().simplified();
        if (!text.isEmpty())
            lines.push_back(
                {text, item->mapRectToScene(item->boundingRect()), pane, item->property("heading").toBool()});
    }
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children)
        collect(child, pane, lines);
}

bool isWordCharacter(char32_t c)
{
    return u_isalnum(static_cast<UChar32>(c));
}

// Lower case, ё read as е (recognisers and people treat them alike), surrounding symbols removed.
QString normalised(const QString &token)
{
    const std::u32string scalars = token.toStdU32String();
    const auto first = std::find_if(scalars.begin(), scalars.end(), isWordCharacter);
    const auto last = std::find_if(scalars.rbegin(), scalars.rend(), isWordCharacter).base();
    if (first >= last)
        return {};
    QString word = QString::fromStdU32String(std::u32string(first, last)).toLower();
    return word.replace(QChar(0x451), QChar(0x435));
}

QStringList words(const QString &text)
{
    QStringList out;
    QString current;
    for (const char32_t c : text.toStdU32String()) {
        if (isWordCharacter(c)) {
            current += QString::fromStdU32String(std::u32string(1, c));
        } else if (!current.isEmpty()) {
            out.append(normalised(current));
            current.clear();
        }
    }
    if (!current.isEmpty())
        out.append(normalised(current));
    return out;
}

bool reads(const ReadLine &read, const TrueLine &line)
{
    const double centre = read.box.center().y();
    const double overlap = std::min(read.box.right(), line.box.right()) - std::max(read.box.left(), line.box.left());
    return centre >= line.box.top() && centre <= line.box.bottom() &&
           overlap > 0.25 * std::min(read.box.width(), line.box.width());
}

// Indices in reading order: rows top to bottom (boxes whose centres lie within half a height share a row),
// left to right within a row.
template <typename Box>
std::vector<std::size_t> inReadingOrder(std::vector<std::size_t> indices, Box box)
{
    std::sort(indices.begin(), indices.end(),
              [&box](std::size_t a, std::size_t b) { return box(a).center().y() < box(b).center().y(); });
    std::vector<std::size_t> ordered;
    std::size_t start = 0;
    for (std::size_t i = 1; i <= indices.size(); ++i) {
        if (i == indices.size() || box(indices[i]).center().y() - box(indices[start]).center().y() >
                                       0.5 * std::min(box(indices[i]).height(), box(indices[start]).height())) {
            std::vector<std::size_t> row(indices.begin() + start, indices.begin() + i);
            std::sort(row.begin(), row.end(),
                      [&box](std::size_t a, std::size_t b) { return box(a).left() < box(b).left(); });
            ordered.insert(ordered.end(), row.begin(), row.end());
            start = i;
        }
    }
    return ordered;
}

// Edits that turn some stretch of text into wanted: neighbours read on the same line cost nothing.
int substringDistance(const QString &wanted, const QString &text)
{
    std::vector<int> previous(text.size() + 1, 0);
    std::vector<int> current(text.size() + 1);
    for (qsizetype i = 1; i <= wanted.size(); ++i) {
        current[0] = int(i);
        for (qsizetype j = 1; j <= text.size(); ++j)
            current[j] =
                std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (wanted[i - 1] != text[j - 1])});
        std::swap(previous, current);
    }
    return *std::min_element(previous.begin(), previous.end());
}

} // namespace

QStringList names()
{
    QStringList found;
    for (const QString &file : QDir(directory()).entryList({QStringLiteral("*.qml")}, QDir::Files, QDir::Name)) {
        if (file.front().isLower())
            found.append(file.chopped(4));
    }
    return found;
}

std::optional<Screen> render(const QString &name, QString *error)
{
    static const bool software = [] {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        return true;
    }();
    (void)software;
    QQuickWindow window;
    QQmlEngine engine;
    QQmlComponent component(&engine, QUrl::fromLocalFile(directory() + u'/' + name + QStringLiteral(".qml")));
    std::unique_ptr<QObject> object(component.create());
    auto *root = qobject_cast<QQuickItem *>(object.get());
    if (!root) {
        if (error)
            *error = component.errorString();
        return std::nullopt;
    }
    const double scale = root->property("pixelScale").toDouble();
    window.resize(qRound(root->width() * scale), qRound(root->height() * scale));
    root->setParentItem(window.contentItem());
    root->setTransformOrigin(QQuickItem::TopLeft);
    root->setScale(scale);

    Screen screen;
    screen.name = name;
    screen.image = window.grabWindow().convertToFormat(QImage::Format_RGB32);
    screen.size = screen.image.size();
    screen.dark = root->property("dark").toBool();
    screen.namingLimit = root->property("namingLimit").toString();
    for (const QString &phrase : root->property("subject").toString().split(u'|', Qt::SkipEmptyParts))
        screen.subjects.append(phrase.trimmed());
    collect(root, {}, screen.lines);
    // Text cut off at the edge of the screen is not text anyone could read in full.
    const QRectF bounds(QPointF(0, 0), screen.image.size());
    std::erase_if(screen.lines, [&bounds](const TrueLine &line) { return !bounds.contains(line.box); });
    if (screen.image.isNull() && error)
        *error = QStringLiteral("nothing was drawn");
    return screen.image.isNull() ? std::nullopt : std::optional(std::move(screen));
}

Reading judge(const Screen &screen, const std::vector<ReadLine> &read)
{
    // Read lines and true lines that overlap form groups; each group's texts are compared in reading order, so
    // a line read whole where the screen has two cells costs nothing here (spanning panes is counted apart).
    const std::size_t n = read.size();
    std::vector<std::size_t> group(n + screen.lines.size());
    std::iota(group.begin(), group.end(), 0);
    const auto find = [&group](std::size_t i) {
        while (group[i] != i)
            i = group[i] = group[group[i]];
        return i;
    };
    Reading result;
    for (std::size_t t = 0; t < screen.lines.size(); ++t) {
        const TrueLine &line = screen.lines[t];
        std::vector<std::size_t> over;
        for (std::size_t r = 0; r < n; ++r) {
            if (reads(read[r], line)) {
                group[find(r)] = find(n + t);
                over.push_back(r);
            }
        }
        if (line.heading) {
            QStringList texts;
            for (const std::size_t r : inReadingOrder(over, [&read](std::size_t i) { return read[i].box; }))
                texts.append(read[r].text);
            result.headingErrors += substringDistance(line.text, texts.join(u' '));
            result.headingCharacters += int(line.text.size());
        }
        result.characters += int(line.text.size());
    }
    std::map<std::size_t, std::pair<std::vector<std::size_t>, std::vector<std::size_t>>> groups;
    for (std::size_t i = 0; i < group.size(); ++i)
        (i < n ? groups[find(i)].first : groups[find(i)].second).push_back(i < n ? i : i - n);
    for (const auto &[root, members] : groups) {
        const auto &[readers, truths] = members;
        QStringList readText;
        for (const std::size_t r : inReadingOrder(readers, [&read](std::size_t i) { return read[i].box; }))
            readText.append(read[r].text);
        QStringList trueText;
        QSet<QString> panes;
        for (const std::size_t t : inReadingOrder(truths, [&screen](std::size_t i) { return screen.lines[i].box; })) {
            trueText.append(screen.lines[t].text);
            panes.insert(screen.lines[t].pane);
        }
        result.errors += editDistance(readText.join(u' '), trueText.join(u' '));
        if (panes.size() > 1) {
            for (const std::size_t r : readers) {
                QSet<QString> under;
                for (const TrueLine &line : screen.lines) {
                    if (reads(read[r], line))
                        under.insert(line.pane);
                }
                if (under.size() > 1)
                    result.spanning.append(read[r].text);
            }
        }
    }
    return result;
}

bool namesSubject(const Screen &screen, const QString &title)
{
    const QStringList said = words(title);
    return std::any_of(screen.subjects.begin(), screen.subjects.end(), [&said](const QString &phrase) {
        const QStringList wanted = words(phrase);
        return std::all_of(wanted.begin(), wanted.end(), [&said](const QString &w) { return said.contains(w); });
    });
}

QStringList foreignWords(const Screen &screen, const QString &title)
{
    QSet<QString> known;
    for (const TrueLine &line : screen.lines) {
        for (const QString &token : line.text.split(u' ', Qt::SkipEmptyParts)) {
            known.insert(token);
            known.insert(normalised(token));
        }
    }
    QStringList foreign;
    for (const QString &token : title.split(u' ', Qt::SkipEmptyParts)) {
        const QString word = normalised(token);
        if (!known.contains(word.isEmpty() ? token : word))
            foreign.append(token);
    }
    return foreign;
}

QStringList debris(const Screen &screen, const QString &title)
{
    QStringList found;
    for (const QString &token : foreignWords(screen, title)) {
        const std::u32string scalars = token.toStdU32String();
        const auto wordy = std::count_if(scalars.begin(), scalars.end(), isWordCharacter);
        if (2 * std::size_t(wordy) < scalars.size())
            found.append(token);
    }
    return found;
}

int editDistance(const QString &a, const QString &b)
{
    std::vector<int> previous(b.size() + 1);
    std::vector<int> current(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        previous[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        current[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j)
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (a[i - 1] != b[j - 1])});
        std::swap(previous, current);
    }
    return previous[b.size()];
}

} // namespace ScreenCorpus
