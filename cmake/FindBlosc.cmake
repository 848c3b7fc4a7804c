# Finds Blosc 1.x (Debian: libblosc-dev), the compressor of .bgeo.sc chunks.
#
# Defines:
#   Blosc_FOUND, Blosc_INCLUDE_DIR, Blosc_LIBRARY
#   Blosc_VERSION   BLOSC_VERSION_STRING from blosc.h (e.g. 1.21.3)
#   Blosc::Blosc    imported target: include directory and library

find_path(Blosc_INCLUDE_DIR blosc.h)
find_library(Blosc_LIBRARY blosc)

if(Blosc_INCLUDE_DIR AND EXISTS "${Blosc_INCLUDE_DIR}/blosc.h")
  file(STRINGS "${Blosc_INCLUDE_DIR}/blosc.h" _blosc_version_line
       REGEX "#define[ \t]+BLOSC_VERSION_STRING[ \t]+\"[^\"]+\"")
  string(REGEX MATCH "[0-9][0-9.]*" Blosc_VERSION "${_blosc_version_line}")
endif()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Blosc
  REQUIRED_VARS Blosc_LIBRARY Blosc_INCLUDE_DIR
  VERSION_VAR Blosc_VERSION)

if(Blosc_FOUND AND NOT TARGET Blosc::Blosc)
  add_library(Blosc::Blosc UNKNOWN IMPORTED)
  set_target_properties(Blosc::Blosc PROPERTIES
    IMPORTED_LOCATION "${Blosc_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${Blosc_INCLUDE_DIR}")
endif()

mark_as_advanced(Blosc_INCLUDE_DIR Blosc_LIBRARY)
