// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "DamagedFile.h"

#include <QFile>

namespace DamagedFile {

QString keepCopy(const QString &path, const QDateTime &now)
{
    if (!QFile::exists(path))
        return {};
    const QString stem =
        path + QStringLiteral(".damaged-") + now.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString copy = stem;
    for (int n = 2; QFile::exists(copy); ++n)
        copy = stem + u'-' + QString::number(n);
    return QFile::copy(path, copy) ? copy : QString();
}

} // namespace DamagedFile
