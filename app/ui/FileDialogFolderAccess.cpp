// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FileDialogFolderAccess.h"

#include "L10n.h"
#include "ScreenshotDetector.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

FileDialogFolderAccess::FileDialogFolderAccess(std::function<QString()> screenshotFolder)
    : m_screenshotFolder(screenshotFolder ? std::move(screenshotFolder)
                                          : [] { return ScreenshotDetector::systemScreenshotFolder(); })
{}

QString FileDialogFolderAccess::startFolder(const QString &wanted)
{
    // A chooser told to start in a folder that is not there opens wherever the program was started.
    QString folder = QDir::cleanPath(wanted);
    while (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        folder = parent == folder ? QString() : parent;
    }
    return wanted.isEmpty() || folder.isEmpty() || folder == QDir::rootPath() ? QDir::homePath() : folder;
}

std::optional<QString> FileDialogFolderAccess::chooseFolder(const QString &suggested, const QString &message)
{
    QFileDialog dialog(nullptr, message);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setLabelText(QFileDialog::Accept, L("panel.allow"));
    dialog.setDirectory(startFolder(suggested.isEmpty() ? m_screenshotFolder() : suggested));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

QStringList FileDialogFolderAccess::chooseImages(bool multiple)
{
    QFileDialog dialog(nullptr);
    dialog.setFileMode(multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setLabelText(QFileDialog::Accept, L("panel.choose"));
    dialog.setMimeTypeFilters({QStringLiteral("image/png"), QStringLiteral("image/jpeg"), QStringLiteral("image/gif"),
                               QStringLiteral("image/webp"), QStringLiteral("image/bmp"), QStringLiteral("image/tiff"),
                               QStringLiteral("image/heic")});
    // One filter that takes every image at once, chosen first.
    QStringList filters = dialog.nameFilters();
    filters.prepend(QStringLiteral("* (*.png *.jpg *.jpeg *.gif *.webp *.bmp *.tif *.tiff *.heic *.heif)"));
    dialog.setNameFilters(filters);
    dialog.setDirectory(startFolder(m_screenshotFolder()));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}
