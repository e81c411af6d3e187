# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Zentrope contributors

# Runs inside `cmake --install` (see ZentropeInstall.cmake), where CMAKE_INSTALL_PREFIX is the prefix being
# installed into. file(INSTALL) adds DESTDIR and records the file in the install manifest.
foreach(dir BINDIR LIBEXECDIR)
    if(IS_ABSOLUTE "${ZENTROPE_${dir}}")
        set(ZENTROPE_INSTALLED_${dir} "${ZENTROPE_${dir}}")
    else()
        set(ZENTROPE_INSTALLED_${dir} "${CMAKE_INSTALL_PREFIX}/${ZENTROPE_${dir}}")
    endif()
endforeach()

# Exec lines split on spaces and give meaning to quotes, dollars and backslashes (desktop entries and D-Bus
# activation files alike): a program path with any such character is double-quoted, with those escaped.
function(zentrope_exec_argument path out)
    if(path MATCHES "[^A-Za-z0-9/._+-]")
        string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" path "${path}")
        set(path "\"${path}\"")
    endif()
    set(${out} "${path}" PARENT_SCOPE)
endfunction()
zentrope_exec_argument("${ZENTROPE_INSTALLED_LIBEXECDIR}/zentrope-analyzer" ZENTROPE_DBUS_EXEC)
zentrope_exec_argument("${ZENTROPE_INSTALLED_BINDIR}/zentrope" ZENTROPE_DESKTOP_EXEC)
# A desktop entry's values are strings with escapes of their own, so its backslashes are doubled once more.
string(REPLACE "\\" "\\\\" ZENTROPE_DESKTOP_EXEC "${ZENTROPE_DESKTOP_EXEC}")
string(REPLACE "%" "%%" ZENTROPE_DESKTOP_EXEC "${ZENTROPE_DESKTOP_EXEC}")

configure_file("${ZENTROPE_TEMPLATE}" "${ZENTROPE_OUTPUT}" @ONLY)
if(IS_ABSOLUTE "${ZENTROPE_DESTINATION}")
    set(destination "${ZENTROPE_DESTINATION}")
else()
    set(destination "${CMAKE_INSTALL_PREFIX}/${ZENTROPE_DESTINATION}")
endif()
file(INSTALL DESTINATION "${destination}" TYPE FILE FILES "${ZENTROPE_OUTPUT}")
