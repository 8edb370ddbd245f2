# Version resources for the Windows executables.
#
# quendal_version_resource(<target> [DESCRIPTION <text>]) gives <target> a
# VERSIONINFO resource: major.minor from the project's version, the third
# number the build date as days since 2000-01-01 (UTC, taken when CMake
# configures; SOURCE_DATE_EPOCH overrides it for reproducible builds).

set(QUENDAL_VERSION_RC_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/../src/app/version.rc.in)

function(quendal_version_resource target)
  cmake_parse_arguments(V "" "DESCRIPTION" "" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  string(TIMESTAMP _now "%s" UTC)
  # 10957 days lie between 1970-01-01 and 2000-01-01.
  math(EXPR QD_RC_BUILD_DAYS "${_now} / 86400 - 10957")
  set(QD_RC_MAJOR ${PROJECT_VERSION_MAJOR})
  set(QD_RC_MINOR ${PROJECT_VERSION_MINOR})
  set(QD_RC_NAME ${target})
  if(V_DESCRIPTION)
    set(QD_RC_DESCRIPTION "${V_DESCRIPTION}")
  else()
    set(QD_RC_DESCRIPTION "${target}")
  endif()
  set(_rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${QUENDAL_VERSION_RC_TEMPLATE} ${_rc} @ONLY)
  target_sources(${target} PRIVATE ${_rc})
  set_property(TARGET ${target} PROPERTY QUENDAL_BUILD_DAYS ${QD_RC_BUILD_DAYS})
endfunction()
