// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>

FuzzInput::FuzzInput(const uint8_t *data, size_t size)
    : m_data(data)
    , m_size(size)
{}

uint8_t FuzzInput::byte()
{
    return m_taken < m_size ? m_data[m_taken++] : 0;
}

QByteArray FuzzInput::rest() const
{
    return QByteArray(reinterpret_cast<const char *>(m_data + m_taken), static_cast<qsizetype>(m_size - m_taken));
}

void fuzzCheck(bool holds, const char *what)
{
    if (holds)
        return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

bool isWellFormed(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return false;
    }
    return true;
}
