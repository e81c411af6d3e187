// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// Renders the scalable application icon at the fixed sizes of the icon theme, for desktops and tray hosts that
// look for a bitmap (the theme rules ask every application for at least 48×48).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 4) {
        std::fprintf(stderr, "usage: zentrope-render-icon SVG SIZE PNG\n");
        return 2;
    }
    QSvgRenderer renderer(arguments.at(1));
    bool ok = false;
    const int size = arguments.at(2).toInt(&ok);
    if (!renderer.isValid() || !ok || size <= 0) {
        std::fprintf(stderr, "zentrope-render-icon: cannot render %s at %s\n", qPrintable(arguments.at(1)),
                     qPrintable(arguments.at(2)));
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    if (!image.save(arguments.at(3), "PNG")) {
        std::fprintf(stderr, "zentrope-render-icon: cannot write %s\n", qPrintable(arguments.at(3)));
        return 1;
    }
    return 0;
}
