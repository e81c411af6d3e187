// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "MemoryBudget.h"

#include <QByteArray>
#include <QCoroTask>

#include <optional>

class QIODevice;

// Takes in the image a peer handed over as a descriptor. Only regular files are read: a pipe or socket whose
// writer never writes would hold a worker until the watchdog ends the whole service. Before a byte is held, the
// image's cost (its bytes plus what decoding and recognising it take) must fit the memory budget; a call waits
// for its share, and an image that could never fit, or is of a kind the analyzer does not decode, is refused.
namespace ImageIntake {

// Bytes of recognition work beside the decoded image: a copy of at most 2560 pixels a side and Tesseract's own.
constexpr qint64 recognitionBytes = qint64(48) << 20;

struct Image
{
    QByteArray bytes;
    // Held until the call is done with the image.
    MemoryBudget::Share share;
};

// Reads fd from its current position to the end of the file; nothing when the descriptor is not a regular file,
// cannot be read, is refused by cost(), is a PNG or JPEG cut short (see hasEnd), or changed while it was read into
// something costlier.
QCoro::Task<std::optional<Image>> read(int fd, MemoryBudget &budget);

// What holding and decoding `image` (of `fileBytes` bytes) takes at most, from its header alone. Data that is no
// image costs its bytes (decoding fails at once); nothing for image kinds the analyzer does not decode (vector
// and legacy formats).
std::optional<qint64> cost(QIODevice &image, qint64 fileBytes);

// False for a PNG without its end chunk or a JPEG without its end marker near the end of `bytes`; true otherwise.
bool hasEnd(const QByteArray &bytes);

} // namespace ImageIntake
