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

// Words in lower case with ё read as е, as recognisers and people treat them.
QStringList words(const QString &text)
{
    QString spaced;
    for (const char32_t c : text.toLower().replace(QChar(0x451), QChar(0x435)).toStdU32String())
        spaced += isWordCharacter(c) ? QString::fromStdU32String(std::u32string(1, c)) : QStringLiteral(" ");
    return spaced.split(u' ', Qt::SkipEmptyParts);
}

bool reads(const ReadLine &read, const TrueLine &line)
{
    const double centre = read.box.center().y();
    const double overlap = std::min(read.box.right(), line.box.right()) - std::max(read.box.left(), line.box.left());
    return centre >= line.box.top() && centre <= line.box.bottom() &&
           overlap > 0.25 * std::min(read.box.width(), line.box.width());
}

// Texts in reading order: top to bottom, and left to right where boxes share a row.
template <typename Line>
QString joined(std::vector<const Line *> lines)
{
    std::sort(lines.begin(), lines.end(), [](const Line *a, const Line *b) {
        const double rise = a->box.center().y() - b->box.center().y();
        return std::abs(rise) < 0.5 * std::min(a->box.height(), b->box.height()) ? a->box.left() < b->box.left()
                                                                                 : rise < 0;
    });
    QStringList texts;
    for (const Line *line : lines)
        texts.append(line->text);
    return texts.join(u' ');
}

// Edits turning a into b, or into the closest stretch of b when anywhere is set.
int distance(const QString &a, const QString &b, bool anywhere = false)
{
    std::vector<int> previous(b.size() + 1);
    std::vector<int> current(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        previous[j] = anywhere ? 0 : int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        current[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j)
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (a[i - 1] != b[j - 1])});
        std::swap(previous, current);
    }
    return anywhere ? *std::min_element(previous.begin(), previous.end()) : previous[b.size()];
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
    // Read and true lines that overlap form groups whose texts are compared in reading order: a line read whole
    // where the screen has two cells costs nothing here, since reading across panes is counted apart.
    const std::size_t n = read.size();
    std::vector<std::size_t> group(n + screen.lines.size());
    std::iota(group.begin(), group.end(), 0);
    const auto find = [&group](std::size_t i) {
        while (group[i] != i)
            i = group[i] = group[group[i]];
        return i;
    };
    Reading result;
    std::vector<QSet<QString>> panesUnder(n);
    for (std::size_t t = 0; t < screen.lines.size(); ++t) {
        const TrueLine &line = screen.lines[t];
        std::vector<const ReadLine *> over;
        for (std::size_t r = 0; r < n; ++r) {
            if (reads(read[r], line)) {
                group[find(r)] = find(n + t);
                over.push_back(&read[r]);
                panesUnder[r].insert(line.pane);
            }
        }
        result.characters += int(line.text.size());
        if (line.heading) {
            // Neighbours read on the heading's line cost nothing: only its own characters count.
            result.headingErrors += distance(line.text, joined(over), true);
            result.headingCharacters += int(line.text.size());
        }
    }
    std::map<std::size_t, std::pair<std::vector<const ReadLine *>, std::vector<const TrueLine *>>> groups;
    for (std::size_t i = 0; i < group.size(); ++i) {
        auto &[readers, truths] = groups[find(i)];
        if (i < n)
            readers.push_back(&read[i]);
        else
            truths.push_back(&screen.lines[i - n]);
    }
    for (const auto &[root, members] : groups)
        result.errors += distance(joined(members.first), joined(members.second));
    for (std::size_t r = 0; r < n; ++r) {
        if (panesUnder[r].size() > 1)
            result.spanning.append(read[r].text);
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

QStringList debris(const Screen &screen, const QString &title)
{
    QSet<QString> shown;
    for (const TrueLine &line : screen.lines) {
        for (const QString &token : line.text.split(u' ', Qt::SkipEmptyParts))
            shown.insert(token);
    }
    QStringList found;
    for (const QString &token : title.split(u' ', Qt::SkipEmptyParts)) {
        const std::u32string scalars = token.toStdU32String();
        const auto wordy = std::count_if(scalars.begin(), scalars.end(), isWordCharacter);
        if (2 * std::size_t(wordy) < scalars.size() && !shown.contains(token))
            found.append(token);
    }
    return found;
}

} // namespace ScreenCorpus
