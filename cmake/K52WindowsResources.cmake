# k52_windows_resources(<target> <description>): on Windows, the program's
# icon and version resource (name, version, description as Explorer shows
# them). Nothing elsewhere.
function(k52_windows_resources target description)
  if(NOT WIN32)
    return()
  endif()
  set(K52_NAME ${target})
  set(K52_DESCRIPTION ${description})
  set(K52_ICON ${PROJECT_SOURCE_DIR}/data/icons/k52cfg.ico)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/data/windows/program.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
