# Application manifest for the Windows executables.
#
# quendal_add_manifest(<target>) embeds src/ui/quendal.manifest as the
# executable's RT_MANIFEST resource 1: per-monitor DPI awareness (v2, with the
# older per-monitor flag for systems before 1703) and common controls 6. It is
# a .rc of its own so a target can also have a version resource.

set(QUENDAL_MANIFEST_FILE ${CMAKE_CURRENT_LIST_DIR}/../src/ui/quendal.manifest)

function(quendal_add_manifest target)
  if(NOT WIN32)
    return()
  endif()
  get_filename_component(_manifest ${QUENDAL_MANIFEST_FILE} ABSOLUTE)
  set(_rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_manifest.rc)
  # 24 is RT_MANIFEST; the absolute path spares the resource compiler a search.
  file(WRITE ${_rc}.in "1 24 \"${_manifest}\"\n")
  configure_file(${_rc}.in ${_rc} COPYONLY)
  target_sources(${target} PRIVATE ${_rc})
  # The .rc names the manifest only as a string: rebuild when it changes.
  set_source_files_properties(${_rc} PROPERTIES OBJECT_DEPENDS ${_manifest})
endfunction()
