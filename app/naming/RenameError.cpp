// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "RenameError.h"

#include "L10n.h"

#include <cstring>

QString RenameError::description() const
{
    switch (m_kind) {
    case Kind::system: {
        // The GNU strerror_r is thread-safe and returns the text, not necessarily in the buffer.
        char buffer[256] = {};
        return QString::fromLocal8Bit(strerror_r(m_code, buffer, sizeof buffer));
    }
    case Kind::sourceMissing:
        return L("error.sourceMissing");
    case Kind::sourceChanged:
        return L("error.sourceChanged");
    case Kind::invalidName:
        return L("error.invalidName");
    case Kind::noFreeName:
        return L("error.noFreeName");
    case Kind::noAccess:
        return L("error.noAccess");
    }
    return {};
}
