# Installs the build into a fresh prefix and checks the Maya module layout:
# the module file, plug-ins/Kelp.so, which the batch host then loads from
# the module's plug-ins folder, the Attribute Editor templates in scripts/ and
# the kelp tool in bin/, which the module file puts on PATH.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DBATCH=... -P CheckInstall.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc})")
endif()
foreach(f Kelp.mod Kelp/plug-ins/Kelp.so Kelp/scripts/AEKelpReaderNodeTemplate.mel
        Kelp/scripts/AEKelpWriterNodeTemplate.mel Kelp/bin/kelp)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "missing ${PREFIX}/${f}")
  endif()
endforeach()
file(READ "${PREFIX}/Kelp.mod" mod)
if(NOT mod MATCHES
   "^\\+ PLATFORM:linux Kelp [0-9.]+ \\./Kelp\nMAYA_SCRIPT_PATH \\+:= scripts\nPATH \\+:= bin\n$")
  message(FATAL_ERROR "unexpected module file: ${mod}")
endif()
# Each template defines the procedure the Attribute Editor looks for, named
# after the node type, and lays out the node's file attribute.
foreach(node KelpReaderNode KelpWriterNode)
  file(READ "${PREFIX}/Kelp/scripts/AE${node}Template.mel" template)
  if(NOT template MATCHES "global proc AE${node}Template\\(string \\$nodeName\\)"
     OR NOT template MATCHES "-addControl \"bgeoPath\"")
    message(FATAL_ERROR "AE${node}Template.mel does not define AE${node}Template")
  endif()
endforeach()
execute_process(COMMAND "${CMAKE_COMMAND}" -E env "MAYA_PLUG_IN_PATH=${PREFIX}/Kelp/plug-ins"
                        "${BATCH}" -q -c "loadPlugin \"Kelp\"; KelpReader -n probe;"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the installed plug-in did not load and run (${rc}): ${out}${err}")
endif()
execute_process(COMMAND "${PREFIX}/Kelp/bin/kelp" --help
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^usage: kelp VERB")
  message(FATAL_ERROR "the installed kelp tool did not run (${rc}): ${out}${err}")
endif()
