# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Zentrope contributors
# Debian's libcld2-dev ships neither a CMake package nor a pkg-config file.
find_path(CLD2_INCLUDE_DIR NAMES compact_lang_det.h PATH_SUFFIXES cld2/public)
find_library(CLD2_LIBRARY NAMES cld2)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(CLD2 REQUIRED_VARS CLD2_LIBRARY CLD2_INCLUDE_DIR)
if(CLD2_FOUND AND NOT TARGET CLD2::CLD2)
    add_library(CLD2::CLD2 UNKNOWN IMPORTED)
    set_target_properties(CLD2::CLD2 PROPERTIES
        IMPORTED_LOCATION ${CLD2_LIBRARY}
        INTERFACE_INCLUDE_DIRECTORIES ${CLD2_INCLUDE_DIR})
endif()
