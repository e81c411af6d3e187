// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// The fuzzer's bytes as the targets take them apart: leading bytes for choices, the rest as text.
class FuzzInput
{
public:
    FuzzInput(const uint8_t *data, size_t size);

    // The next byte, 0 once they are used up.
    uint8_t byte();
    // Everything not taken yet.
    QByteArray rest() const;
    QString restText() const { return QString::fromUtf8(rest()); }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_taken = 0;
};

// Stops the run with a report when an invariant does not hold (libFuzzer saves the input).
void fuzzCheck(bool holds, const char *what);
// True when `text` is well-formed UTF-16 (every surrogate paired).
bool isWellFormed(const QString &text);
