# The Windows resources of the programs: a version resource for each, and
# for uriage.exe its application manifest. All generated from the project's
# version into the build tree.
set(URIAGE_RESOURCE_TEMPLATES ${CMAKE_CURRENT_LIST_DIR})

# uriage_windows_resources(TARGET DESCRIPTION [MANIFEST])
function(uriage_windows_resources target description)
  if(NOT WIN32)
    return()
  endif()
  set(URIAGE_FILE_DESCRIPTION "${description}")
  set(URIAGE_INTERNAL_NAME ${target})
  set(URIAGE_ORIGINAL_FILENAME ${target}.exe)
  set(URIAGE_EXTRA_RESOURCES "")
  if(ARGV2 STREQUAL "MANIFEST")
    set(manifest ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
    configure_file(${URIAGE_RESOURCE_TEMPLATES}/uriage.manifest.in ${manifest} @ONLY)
    # 1 = the process's own manifest, 24 = RT_MANIFEST.
    set(URIAGE_EXTRA_RESOURCES "1 24 \"${manifest}\"")
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${URIAGE_RESOURCE_TEMPLATES}/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
