// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FileDialogFolderAccess.h"

#include "L10n.h"

#include <QFileDialog>
#include <QStandardPaths>

std::optional<QString> FileDialogFolderAccess::chooseFolder(const QString &suggested, const QString &message)
{
    QFileDialog dialog(nullptr, message);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setLabelText(QFileDialog::Accept, L("panel.allow"));
    dialog.setDirectory(suggested.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)
                                            : suggested);
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
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}
