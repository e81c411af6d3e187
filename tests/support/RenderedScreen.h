// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

// A light window-like screen with a large heading and a few lines of body text, for tests that recognise text.
// Drawing text needs a QGuiApplication (GUI tests).
QImage renderedScreen(const QString &heading, const QStringList &lines = {}, QSize size = QSize(1400, 700));
QByteArray renderedScreenPng(const QString &heading, const QStringList &lines = {}, QSize size = QSize(1400, 700));
