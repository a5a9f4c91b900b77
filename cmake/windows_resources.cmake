# The icon, version information and application manifest a Windows program
# carries, from app/windows/:
# kscgen_windows_resources(TARGET "description shown by Explorer").
function(kscgen_windows_resources target description)
  if(NOT WIN32)
    return()
  endif()
  set(KSCGEN_RC_NAME ${target})
  set(KSCGEN_RC_DESCRIPTION "${description}")
  set(KSCGEN_RC_ICON ${PROJECT_SOURCE_DIR}/app/windows/kscgen.ico)
  set(KSCGEN_RC_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/app/windows/app.manifest.in ${KSCGEN_RC_MANIFEST} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/app/windows/version.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc APPEND PROPERTY
               OBJECT_DEPENDS "${KSCGEN_RC_ICON};${KSCGEN_RC_MANIFEST}")
endfunction()
