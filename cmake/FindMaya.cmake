# Finds a Maya devkit for building the plug-in against the real host.
#
# Looks in MAYA_LOCATION (CMake or environment variable), then DEVKIT_LOCATION,
# for include/maya/MFn.h (also devkit/include/ for 2019 and later), and for the
# OpenMaya, OpenMayaAnim, OpenMayaUI and Foundation libraries in lib/
# (Maya.app/Contents/MacOS on macOS).
#
# Defines:
#   Maya_FOUND, Maya_INCLUDE_DIR, Maya_LIBRARIES
#   Maya_API_VERSION   MAYA_API_VERSION from maya/MTypes.h (e.g. 201602)
#   Maya_VERSION       the Maya year (e.g. 2016), when it can be told
#   Maya::Maya         imported target: include directory, platform defines, libraries

set(_maya_roots)
foreach(_root "${MAYA_LOCATION}" "$ENV{MAYA_LOCATION}" "${DEVKIT_LOCATION}" "$ENV{DEVKIT_LOCATION}")
  if(_root)
    list(APPEND _maya_roots "${_root}")
  endif()
endforeach()

find_path(Maya_INCLUDE_DIR maya/MFn.h
  HINTS ${_maya_roots}
  PATH_SUFFIXES include devkit/include ../../devkit/include
  NO_DEFAULT_PATH)

foreach(_lib OpenMaya OpenMayaAnim OpenMayaUI Foundation)
  find_library(Maya_${_lib}_LIBRARY ${_lib}
    HINTS ${_maya_roots}
    PATH_SUFFIXES lib Maya.app/Contents/MacOS
    NO_DEFAULT_PATH)
endforeach()

if(Maya_INCLUDE_DIR AND EXISTS "${Maya_INCLUDE_DIR}/maya/MTypes.h")
  file(STRINGS "${Maya_INCLUDE_DIR}/maya/MTypes.h" _maya_api_line
       REGEX "#define[ \t]+MAYA_API_VERSION[ \t]+[0-9]+")
  string(REGEX MATCH "[0-9]+" Maya_API_VERSION "${_maya_api_line}")
  file(STRINGS "${Maya_INCLUDE_DIR}/maya/MTypes.h" _maya_app_line
       REGEX "#define[ \t]+MAYA_APP_VERSION[ \t]+[0-9]+")
  string(REGEX MATCH "[0-9]+" Maya_VERSION "${_maya_app_line}")
  if(NOT Maya_VERSION AND Maya_API_VERSION)
    string(SUBSTRING "${Maya_API_VERSION}" 0 4 Maya_VERSION)
  endif()
endif()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Maya
  REQUIRED_VARS Maya_INCLUDE_DIR Maya_OpenMaya_LIBRARY Maya_OpenMayaAnim_LIBRARY
                Maya_OpenMayaUI_LIBRARY Maya_Foundation_LIBRARY
  VERSION_VAR Maya_VERSION)

if(Maya_FOUND)
  set(Maya_LIBRARIES ${Maya_OpenMaya_LIBRARY} ${Maya_OpenMayaAnim_LIBRARY}
                     ${Maya_OpenMayaUI_LIBRARY} ${Maya_Foundation_LIBRARY})
  if(NOT TARGET Maya::Maya)
    add_library(Maya::Maya INTERFACE IMPORTED)
    set(_maya_defines REQUIRE_IOSTREAM _BOOL)
    if(WIN32)
      list(APPEND _maya_defines NT_PLUGIN)
    elseif(APPLE)
      list(APPEND _maya_defines OSMac_ MAC_PLUGIN OSMac_MachO)
    else()
      list(APPEND _maya_defines LINUX LINUX_64 Bits64_ UNIX FUNCPROTO _GNU_SOURCE)
    endif()
    set_target_properties(Maya::Maya PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES "${Maya_INCLUDE_DIR}"
      INTERFACE_COMPILE_DEFINITIONS "${_maya_defines}"
      INTERFACE_LINK_LIBRARIES "${Maya_LIBRARIES}")
  endif()
endif()

mark_as_advanced(Maya_INCLUDE_DIR Maya_OpenMaya_LIBRARY Maya_OpenMayaAnim_LIBRARY
                 Maya_OpenMayaUI_LIBRARY Maya_Foundation_LIBRARY)
