# Installs the build into a fresh prefix and checks the Maya module layout:
# the module file and plug-ins/Kelp.so, which the batch host then loads from
# the module's plug-ins folder.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DBATCH=... -P CheckInstall.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc})")
endif()
foreach(f Kelp.mod Kelp/plug-ins/Kelp.so)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "missing ${PREFIX}/${f}")
  endif()
endforeach()
file(READ "${PREFIX}/Kelp.mod" mod)
if(NOT mod MATCHES "^\\+ PLATFORM:linux Kelp [0-9.]+ \\./Kelp\n$")
  message(FATAL_ERROR "unexpected module file: ${mod}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E env "MAYA_PLUG_IN_PATH=${PREFIX}/Kelp/plug-ins"
                        "${BATCH}" -q -c "loadPlugin \"Kelp\"; KelpReader -n probe;"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the installed plug-in did not load and run (${rc}): ${out}${err}")
endif()
