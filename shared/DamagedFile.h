// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QDateTime>
#include <QString>

// A file that could not be read in full is the user's data too: before it is overwritten, a copy is kept beside
// it as "<name>.damaged-<UTC date and time>", and no earlier copy is ever replaced.
namespace DamagedFile {

// The copy's path, or empty when there was nothing to copy or the copy failed.
QString keepCopy(const QString &path, const QDateTime &now);

} // namespace DamagedFile
