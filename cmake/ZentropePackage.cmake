# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Zentrope contributors

# `cpack -G DEB` in a build folder makes zentrope_<version>_<arch>.deb from the install rules, prefix /usr.
set(CPACK_PACKAGE_NAME zentrope)
set(CPACK_PACKAGE_VENDOR "Zentrope contributors")
set(CPACK_PACKAGE_CONTACT "Zentrope contributors <zentrope@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "meaningful file names for screenshots")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Zentrope sits in the tray, watches the folders where screenshots land and renames each new one to a short "
    "description of what it shows. Text is recognised with Tesseract; the description comes from a local language "
    "model server (Ollama, llama-server or LM Studio), or from the recognised text alone. Nothing leaves the "
    "computer.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${ZENTROPE_REPOSITORY_URL})
set(CPACK_GENERATOR DEB)
# The staging install runs with the real prefix under DESTDIR, so the files configured at install time name /usr
# and not the staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries the programs link come from dpkg-shlibdeps; these are loaded at run time by name.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
string(CONCAT CPACK_DEBIAN_PACKAGE_DEPENDS
    "tesseract-ocr-eng, tesseract-ocr-rus, qml6-module-qtquick, qml6-module-qtquick-controls, "
    "qml6-module-qtquick-layouts, qml6-module-qtquick-templates, qml6-module-qtquick-window, "
    "qml6-module-qtqml-workerscript, libqt6svg6, default-dbus-session-bus | dbus-session-bus")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins, qt6-wayland, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
