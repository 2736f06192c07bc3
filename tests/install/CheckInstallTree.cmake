# cmake -DBUILD_DIR=... -DSTAGE_DIR=... -DPROGRAM_DIR=lib/k52cfg -DWITH_GUI=ON|OFF -P CheckInstallTree.cmake
cmake_minimum_required(VERSION 3.25)

function(fail message)
  message(FATAL_ERROR "install tree: ${message}")
endfunction()

file(REMOVE_RECURSE ${STAGE_DIR})
set(prefix ${STAGE_DIR}/usr)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  fail("cmake --install failed: ${errors}")
endif()

set(programs k52ctl k52sim)
set(files ${PROGRAM_DIR}/English.lng ${PROGRAM_DIR}/Japanese.lng share/doc/k52cfg/copyright)
if(WITH_GUI)
  list(APPEND programs k52cfg)
  list(APPEND files share/applications/k52cfg.desktop share/icons/hicolor/scalable/apps/k52cfg.svg)
  foreach(size 16 32 48 64 128 256)
    list(APPEND files share/icons/hicolor/${size}x${size}/apps/k52cfg.png)
  endforeach()
endif()
foreach(program IN LISTS programs)
  list(APPEND files share/man/man1/${program}.1.gz)
endforeach()
foreach(file IN LISTS files)
  if(NOT EXISTS ${prefix}/${file})
    fail("${file} is missing")
  endif()
endforeach()

# Each program lives in the program directory, and bin/ holds a relative
# link to it, so the tree still works when moved or packaged.
foreach(program IN LISTS programs)
  set(link ${prefix}/bin/${program})
  if(NOT IS_SYMLINK ${link})
    fail("bin/${program} is not a symlink")
  endif()
  file(READ_SYMLINK ${link} target)
  if(IS_ABSOLUTE "${target}")
    fail("bin/${program} points to the absolute path ${target}")
  endif()
  file(REAL_PATH ${link} resolved)
  file(REAL_PATH ${prefix}/${PROGRAM_DIR}/${program} expected)
  if(NOT resolved STREQUAL expected)
    fail("bin/${program} resolves to ${resolved}, not ${expected}")
  endif()
endforeach()

# No test programs or other build leftovers among the installed programs.
file(GLOB installed RELATIVE ${prefix}/${PROGRAM_DIR} ${prefix}/${PROGRAM_DIR}/*)
list(REMOVE_ITEM installed ${programs} English.lng Japanese.lng)
if(installed)
  fail("unexpected files in ${PROGRAM_DIR}: ${installed}")
endif()

# Started through the link, k52ctl must find a language file by name alone;
# it can only do so in its own (installed) directory.
execute_process(COMMAND ${prefix}/bin/k52ctl ports --language Japanese.lng
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR errors MATCHES "resource file")
  fail("k52ctl ports --language Japanese.lng exited with ${result}: ${errors}")
endif()
# ... and a file that is not there must be reported as such, not found elsewhere.
execute_process(COMMAND ${prefix}/bin/k52ctl ports --language Missing.lng
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(result EQUAL 0 OR NOT errors MATCHES "Can't read resource file")
  fail("k52ctl ports --language Missing.lng exited with ${result}: ${errors}")
endif()
