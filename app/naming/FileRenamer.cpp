// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FileRenamer.h"

#include "NativePath.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <variant>

namespace {

QByteArray native(const QString &path)
{
    return NativePath::encode(path);
}

// The part after the last dot of a file name; a leading dot starts a hidden name, not an extension.
QString extensionOf(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot > 0 ? fileName.mid(dot + 1) : QString();
}

QString withoutExtension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot > 0 ? fileName.left(dot) : fileName;
}

QString withExtension(const QString &name, const QString &extension)
{
    return extension.isEmpty() ? name : name + u'.' + extension;
}

// A colon is refused in new names, which may travel to systems that reserve it; an original name is given back
// as it was, colons and all.
enum class Colons { refused, allowed };

std::optional<QString> validName(const QString &requested, Colons colons)
{
    const QString name = requested.trimmed();
    // A NUL would end the name early in the system call and rename the file to something else.
    if (name.isEmpty() || name.contains(u'/') || name.contains(QChar(0)) || name.startsWith(u'.') ||
        (colons == Colons::refused && name.contains(u':')))
        return std::nullopt;
    return name;
}

RenameError classified(int code)
{
    switch (code) {
    case EPERM:
    case EACCES:
        return RenameError::noAccess();
    case ENOENT:
        return RenameError::sourceMissing();
    default:
        return RenameError::system(code);
    }
}

// The file at `path` if it is the one expected, with its identity now.
std::variant<FileID, RenameError> inspect(const QString &path, const std::optional<FileID> &expectedID,
                                          const RenameCalls &calls)
{
    const int status = calls.lstat(native(path));
    if (status == EPERM || status == EACCES)
        return RenameError::noAccess();
    const std::optional<FileID> current = status == 0 ? FileID::fromPath(path) : std::nullopt;
    if (!current)
        return RenameError::sourceMissing();
    if (expectedID) {
        const bool volumesDiffer = expectedID->volume && current->volume && *expectedID->volume != *current->volume;
        if (expectedID->inode != current->inode || volumesDiffer)
            return RenameError::sourceChanged();
    }
    return *current;
}

bool notSupported(int code)
{
    return code == EINVAL || code == ENOTSUP || code == EOPNOTSUPP || code == ENOSYS;
}

// Renames without ever replacing a file: 0, EEXIST when the name is taken, or another error number.
int exclusiveRename(const QByteArray &from, const QByteArray &to, const RenameCalls &calls)
{
    const int renamed = calls.renameNoReplace(from, to);
    if (!notSupported(renamed))
        return renamed;

    // Filesystems without RENAME_NOREPLACE (some network and FUSE ones): a hard link refuses a taken name too.
    const int linked = calls.link(from, to);
    if (linked == 0) {
        const int unlinked = calls.unlink(from);
        if (unlinked != 0)
            calls.unlink(to); // the new name is our own second link; removing it leaves the file as it was
        return unlinked;
    }
    if (linked != EPERM && !notSupported(linked))
        return linked;

    // No hard links either (FAT, exFAT): look before renaming. Another process can still slip in between.
    const int status = calls.lstat(to);
    if (status == 0)
        return EEXIST;
    if (status != ENOENT)
        return status;
    return calls.rename(from, to);
}

RenameResult renameChecked(const QString &path, const QString &name, const QString &separator, const FileID &current,
                           const RenameCalls &calls)
{
    const QFileInfo info(path);
    const QDir dir(info.path());
    const QString fileName = info.fileName();
    const QString extension = extensionOf(fileName);
    const QByteArray from = native(path);

    const QString wanted = withExtension(name, extension);
    if (wanted == fileName)
        return path;

    if (wanted.compare(fileName, Qt::CaseInsensitive) == 0) {
        // On a case-insensitive volume the new name is this very file; only a plain rename changes its case.
        const QString target = dir.filePath(wanted);
        if (FileID::fromPath(target) == current) {
            const int code = calls.rename(from, native(target));
            if (code != 0)
                return RenameError::system(code);
            return target;
        }
    }

    for (int number = 1; number <= FileRenamer::maximumNumber; ++number) {
        const QString candidate = number == 1 ? name : name + separator + QString::number(number);
        const QString target = dir.filePath(withExtension(candidate, extension));
        const int code = exclusiveRename(from, native(target), calls);
        if (code == 0)
            return target;
        if (code != EEXIST)
            return classified(code);
    }
    return RenameError::noFreeName();
}

} // namespace

namespace FileRenamer {

RenameResult rename(const QString &path, const QString &toBaseName, const QString &separator,
                    const std::optional<FileID> &expectedID, const RenameCalls &calls)
{
    const std::optional<QString> name = validName(toBaseName, Colons::refused);
    if (!name)
        return RenameError::invalidName();
    const auto current = inspect(path, expectedID, calls);
    if (const RenameError *error = std::get_if<RenameError>(&current))
        return *error;
    return renameChecked(path, *name, separator, std::get<FileID>(current), calls);
}

RenameResult restore(const QString &path, const QString &toFileName, const std::optional<FileID> &expectedID,
                     const RenameCalls &calls)
{
    const std::optional<QString> original = validName(toFileName, Colons::allowed);
    if (!original)
        return RenameError::invalidName();
    // The identity is checked before any attempt: undo must never move a file that merely took the name.
    const auto current = inspect(path, expectedID, calls);
    if (const RenameError *error = std::get_if<RenameError>(&current))
        return *error;

    const QFileInfo info(path);
    const QString originalExtension = extensionOf(*original);
    const QString currentExtension = extensionOf(info.fileName());
    if (originalExtension != currentExtension &&
        originalExtension.compare(currentExtension, Qt::CaseInsensitive) == 0) {
        const QString target = info.dir().filePath(*original);
        if (exclusiveRename(native(path), native(target), calls) == 0)
            return target;
    }

    const std::optional<QString> base = validName(withoutExtension(*original), Colons::allowed);
    if (!base)
        return RenameError::invalidName();
    return renameChecked(path, *base, QStringLiteral(" "), std::get<FileID>(current), calls);
}

} // namespace FileRenamer
