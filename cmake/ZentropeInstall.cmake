# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Zentrope contributors

# zentrope_install_for_prefix(<template> DESTINATION <dir relative to the prefix>)
# Installs <template> without its ".in", configured when it is installed rather than when the build is configured:
# `cmake --install --prefix X` and a package's staging install then name the prefix they really install into.
# In the template, @ZENTROPE_DESKTOP_EXEC@ is the installed application as a desktop entry's Exec names it and
# @ZENTROPE_DBUS_EXEC@ the installed analyzer as a D-Bus activation file's Exec names it.
function(zentrope_install_for_prefix template)
    cmake_parse_arguments(ARG "" "DESTINATION" "" ${ARGN})
    get_filename_component(name ${template} NAME_WLE)
    install(CODE "
        set(ZENTROPE_TEMPLATE \"${CMAKE_CURRENT_SOURCE_DIR}/${template}\")
        set(ZENTROPE_OUTPUT \"${CMAKE_CURRENT_BINARY_DIR}/for-prefix/${name}\")
        set(ZENTROPE_DESTINATION \"${ARG_DESTINATION}\")
        set(ZENTROPE_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
        set(ZENTROPE_LIBEXECDIR \"${CMAKE_INSTALL_LIBEXECDIR}\")
        include(\"${PROJECT_SOURCE_DIR}/cmake/ConfigureForPrefix.cmake\")")
endfunction()
