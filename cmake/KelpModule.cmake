# Installs the plug-in the way Maya users expect, as a module:
#   <prefix>/Kelp.mod               the module description file
#   <prefix>/Kelp/plug-ins/Kelp.so  (Kelp.mll on Windows, Kelp.bundle on macOS)
#   <prefix>/Kelp/scripts/AEKelpReaderNodeTemplate.mel, AEKelpWriterNodeTemplate.mel
#   <prefix>/Kelp/bin/kelp          the command-line tool (installed by tools/)
# Maya finds it when <prefix> is on MAYA_MODULE_PATH; the module's plug-ins/
# folder is then on MAYA_PLUG_IN_PATH and "loadPlugin Kelp" works, and the
# module file puts scripts/ on MAYA_SCRIPT_PATH, where the Attribute Editor
# finds the node templates, and bin/ on PATH, so that scripts run from Maya
# find the tool.
function(kelp_install_module target)
  if(WIN32)
    set(KELP_MODULE_PLATFORM "win64")
  elseif(APPLE)
    set(KELP_MODULE_PLATFORM "mac")
  else()
    set(KELP_MODULE_PLATFORM "linux")
  endif()
  # Built against a real devkit, the module is for that Maya version only
  # (plug-ins are not binary compatible across major versions).
  set(KELP_MODULE_MAYAVERSION "")
  if(MAYA_LOCATION AND Maya_VERSION)
    set(KELP_MODULE_MAYAVERSION "MAYAVERSION:${Maya_VERSION} ")
  endif()
  set(KELP_MODULE_VERSION "${PROJECT_VERSION}")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/Kelp.mod.in"
                 "${CMAKE_CURRENT_BINARY_DIR}/Kelp.mod" @ONLY)
  install(TARGETS ${target}
          LIBRARY DESTINATION Kelp/plug-ins
          RUNTIME DESTINATION Kelp/plug-ins)
  install(FILES "${CMAKE_CURRENT_BINARY_DIR}/Kelp.mod" DESTINATION .)
  install(FILES "${PROJECT_SOURCE_DIR}/module/scripts/AEKelpReaderNodeTemplate.mel"
                "${PROJECT_SOURCE_DIR}/module/scripts/AEKelpWriterNodeTemplate.mel"
          DESTINATION Kelp/scripts)
endfunction()
