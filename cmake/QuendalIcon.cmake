# The application icon outside Quendal.exe: sensorfeed.exe, the setup and the
# uninstaller (Quendal.exe embeds the icon itself, in src/app).
#
# QUENDAL_ICON_FILE names the .ico. Left empty, it is the icon the build draws
# (src/app/quendal.ico in the build tree) when the tree has the icon generator
# (tools/icongen); without either, sensorfeed.exe has no icon and the setup
# uses NSIS's own.

set(QUENDAL_ICON_FILE "" CACHE FILEPATH "Application icon (.ico) for sensorfeed.exe and the setup; empty: the one the build draws")
set(QUENDAL_ICON_PRODUCER "")
if(NOT QUENDAL_ICON_FILE AND EXISTS ${QUENDAL_SOURCE_DIR}/tools/icongen/CMakeLists.txt)
  set(QUENDAL_ICON_FILE ${CMAKE_BINARY_DIR}/src/app/quendal.ico)
  set(QUENDAL_ICON_PRODUCER Quendal)  # the target whose build draws it
endif()

# Embeds QUENDAL_ICON_FILE as <target>'s first icon group, the one Explorer shows.
function(quendal_add_icon target)
  if(NOT WIN32 OR NOT QUENDAL_ICON_FILE)
    return()
  endif()
  set(_rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_icon.rc)
  file(WRITE ${_rc}.in "1 ICON \"${QUENDAL_ICON_FILE}\"\n")
  configure_file(${_rc}.in ${_rc} COPYONLY)
  target_sources(${target} PRIVATE ${_rc})
  set_source_files_properties(${_rc} PROPERTIES OBJECT_DEPENDS ${QUENDAL_ICON_FILE})
  if(QUENDAL_ICON_PRODUCER)
    add_dependencies(${target} ${QUENDAL_ICON_PRODUCER})
  endif()
endfunction()
