# The setup and the portable zip, from the Windows build (target "package";
# tools/package runs it). Both carry the project version, the one set in
# project() at the top: in their file names, the setup's version resource and
# the "Apps & features" entry.
#
#   package/Quendal-<version>-setup.exe     NSIS (makensis), per-user install
#   package/Quendal-<version>-portable.zip  Quendal.exe, sensorfeed.exe, README.txt, LICENSE.txt
#
# The programs go in without their debug information. The icon of the setup
# and the uninstaller is QUENDAL_ICON_FILE (see QuendalIcon.cmake), or NSIS's
# own while the project has none.

set(QUENDAL_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)
set(QUENDAL_SETUP_FILE ${QUENDAL_PACKAGE_DIR}/Quendal-${PROJECT_VERSION}-setup.exe)
set(QUENDAL_PORTABLE_ZIP ${QUENDAL_PACKAGE_DIR}/Quendal-${PROJECT_VERSION}-portable.zip)

function(quendal_add_package)
  find_program(QUENDAL_MAKENSIS makensis)
  find_program(QUENDAL_ZIP zip)
  if(NOT QUENDAL_MAKENSIS OR NOT QUENDAL_ZIP)
    message(STATUS "Packaging off: makensis or zip missing (tools/install-deps installs them)")
    set(QUENDAL_PACKAGE_AVAILABLE OFF PARENT_SCOPE)
    return()
  endif()
  set(_tools ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/package)
  set(_stage ${QUENDAL_PACKAGE_DIR}/stage)
  # Windows users open these in Notepad: CRLF.
  configure_file(${_tools}/README.txt.in ${_stage}/README.txt @ONLY NEWLINE_STYLE CRLF)
  configure_file(${QUENDAL_SOURCE_DIR}/LICENSE ${_stage}/LICENSE.txt NEWLINE_STYLE CRLF)

  if(CMAKE_STRIP)
    set(_copy ${CMAKE_STRIP} --strip-debug -o)
  else()
    set(_copy ${CMAKE_COMMAND} -E copy)
  endif()
  add_custom_command(OUTPUT ${_stage}/Quendal.exe ${_stage}/sensorfeed.exe
    COMMAND ${_copy} ${_stage}/Quendal.exe $<TARGET_FILE:Quendal>
    COMMAND ${_copy} ${_stage}/sensorfeed.exe $<TARGET_FILE:sensorfeed>
    DEPENDS Quendal sensorfeed $<TARGET_FILE:Quendal> $<TARGET_FILE:sensorfeed>
    COMMENT "Staging Quendal.exe and sensorfeed.exe")
  set(_staged ${_stage}/Quendal.exe ${_stage}/sensorfeed.exe ${_stage}/README.txt ${_stage}/LICENSE.txt)

  # The setup's four-part version is the executables' own: major, minor, build days.
  set(_icon_arg)
  if(QUENDAL_ICON_FILE)
    set(_icon_arg -DQD_ICON=${QUENDAL_ICON_FILE})
  endif()
  add_custom_command(OUTPUT ${QUENDAL_SETUP_FILE}
    COMMAND ${QUENDAL_MAKENSIS} -V2 -NOCD
      -DQD_VERSION=${PROJECT_VERSION}
      -DQD_FILEVERSION=${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.$<TARGET_PROPERTY:Quendal,QUENDAL_BUILD_DAYS>.0
      -DQD_STAGE=${_stage}
      -DQD_OUTFILE=${QUENDAL_SETUP_FILE}
      ${_icon_arg}
      ${_tools}/quendal.nsi
    DEPENDS ${_staged} ${_tools}/quendal.nsi ${QUENDAL_ICON_FILE}
    WORKING_DIRECTORY ${QUENDAL_PACKAGE_DIR}
    COMMENT "Building ${QUENDAL_SETUP_FILE}"
    VERBATIM)
  # -X: no Unix owners or extra times, only what Windows' own unzip knows.
  add_custom_command(OUTPUT ${QUENDAL_PORTABLE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${QUENDAL_PORTABLE_ZIP}
    COMMAND ${QUENDAL_ZIP} -X -q -9 ${QUENDAL_PORTABLE_ZIP} Quendal.exe sensorfeed.exe README.txt LICENSE.txt
    DEPENDS ${_staged}
    WORKING_DIRECTORY ${_stage}
    COMMENT "Building ${QUENDAL_PORTABLE_ZIP}"
    VERBATIM)
  add_custom_target(package DEPENDS ${QUENDAL_SETUP_FILE} ${QUENDAL_PORTABLE_ZIP})
  set(QUENDAL_PACKAGE_AVAILABLE ON PARENT_SCOPE)
endfunction()
