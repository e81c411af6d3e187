// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>

// Why a file could not be renamed, with the description shown to the user as it stands.
class RenameError
{
public:
    enum class Kind {
        system,        // any other failure of the rename call; code() holds the error number
        sourceMissing, // the file is no longer at its path
        sourceChanged, // a different file now stands at the path
        invalidName,   // the requested name is empty or not allowed
        noFreeName,    // every numbered variant of the name is taken
        noAccess,      // the system denied access
    };

    static RenameError system(int code) { return RenameError(Kind::system, code); }
    static RenameError sourceMissing() { return RenameError(Kind::sourceMissing); }
    static RenameError sourceChanged() { return RenameError(Kind::sourceChanged); }
    static RenameError invalidName() { return RenameError(Kind::invalidName); }
    static RenameError noFreeName() { return RenameError(Kind::noFreeName); }
    static RenameError noAccess() { return RenameError(Kind::noAccess); }

    Kind kind() const { return m_kind; }
    // The error number for `system`, 0 otherwise.
    int code() const { return m_code; }
    // The C library's text for a system error, otherwise the localised text in the interface language.
    QString description() const;

    bool operator==(const RenameError &) const = default;

private:
    explicit RenameError(Kind kind, int code = 0)
        : m_kind(kind)
        , m_code(code)
    {}

    Kind m_kind;
    int m_code;
};
