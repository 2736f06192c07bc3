# Installation and the Debian package.
#
# The programs look for their language files in their own directory (that of
# /proc/self/exe, symlinks resolved), so the programs and the .lng files share
# one private directory, and bin/ holds relative symlinks into it:
#
#   <prefix>/bin/k52cfg -> ../lib/k52cfg/k52cfg   (likewise k52ctl, k52sim)
#   <prefix>/lib/k52cfg/{k52cfg,k52ctl,k52sim,English.lng,Japanese.lng}
#   <prefix>/share/applications/k52cfg.desktop
#   <prefix>/share/icons/hicolor/{16x16,...,256x256}/apps/k52cfg.png
#   <prefix>/share/icons/hicolor/scalable/apps/k52cfg.svg
#   <prefix>/share/doc/k52cfg/{copyright,changelog.gz}
#   <prefix>/share/man/man1/{k52cfg,k52ctl,k52sim}.1.gz

set(K52_INSTALL_PROGRAMDIR "lib/k52cfg" CACHE STRING
    "Directory, relative to the prefix, of the programs and their language files")

set(k52_programs k52ctl k52sim)
if(K52_BUILD_GUI)
  list(PREPEND k52_programs k52cfg)
endif()

install(TARGETS ${k52_programs} RUNTIME DESTINATION ${K52_INSTALL_PROGRAMDIR})
install(FILES ${K52_LANGUAGE_FILES} DESTINATION ${K52_INSTALL_PROGRAMDIR})

# The symlinks are made in the build tree and installed as links; their
# targets are relative, so the installed tree may be moved or packaged.
cmake_path(ABSOLUTE_PATH K52_INSTALL_PROGRAMDIR BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX}
           OUTPUT_VARIABLE k52_programdir_full)
cmake_path(RELATIVE_PATH k52_programdir_full BASE_DIRECTORY ${CMAKE_INSTALL_FULL_BINDIR}
           OUTPUT_VARIABLE k52_programdir_from_bin)
set(k52_link_dir ${CMAKE_BINARY_DIR}/install-links)
file(MAKE_DIRECTORY ${k52_link_dir})
foreach(program IN LISTS k52_programs)
  file(CREATE_LINK ${k52_programdir_from_bin}/${program} ${k52_link_dir}/${program} SYMBOLIC)
  install(FILES ${k52_link_dir}/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

if(K52_BUILD_GUI)
  install(FILES ${PROJECT_SOURCE_DIR}/data/k52cfg.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/data/icons/k52cfg-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME k52cfg.png)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/data/icons/k52cfg.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# The package's own documents and the manual pages, compressed the way
# Debian expects them (best compression, no name or time stamp inside).
set(k52_docdir ${CMAKE_INSTALL_DATADIR}/doc/k52cfg)
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright DESTINATION ${k52_docdir})
string(TIMESTAMP k52_changelog_date "%a, %d %b %Y 00:00:00 +0000" UTC)
configure_file(${PROJECT_SOURCE_DIR}/data/debian/changelog.in ${CMAKE_BINARY_DIR}/package/changelog @ONLY)
set(k52_compressed)
function(k52_install_compressed source destination)
  cmake_path(GET source FILENAME name)
  set(output ${CMAKE_BINARY_DIR}/package/${name}.gz)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${K52_GZIP} -9 -n -c ${source} > ${output}
    DEPENDS ${source}
    COMMENT "Compressing ${name}")
  install(FILES ${output} DESTINATION ${destination})
  set(k52_compressed ${k52_compressed} ${output} PARENT_SCOPE)
endfunction()
find_program(K52_GZIP gzip REQUIRED)
k52_install_compressed(${CMAKE_BINARY_DIR}/package/changelog ${k52_docdir})
foreach(program IN LISTS k52_programs)
  k52_install_compressed(${PROJECT_SOURCE_DIR}/data/man/${program}.1 ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(k52_compressed_documents ALL DEPENDS ${k52_compressed})

# cpack -G DEB: one package, k52cfg, with the programs and everything above.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME k52cfg)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "K52CFG developers")
set(CPACK_PACKAGE_CONTACT "K52CFG developers <k52cfg@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for K52 remote-I/O stations")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (file dialogs, message box buttons) in the chosen language;
# the libraries found by shlibdeps are added to it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The synopsis line comes from the summary above.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"K52CFG reads the modules of a K52 remote-I/O station over a serial line,
lets you edit their parameters, writes them back to the station, saves and
opens them as configuration files, and shows the live values of a running
station.
.
The package holds the window program k52cfg, its command-line companion
k52ctl and k52sim, a simulated station served on a pseudo-terminal for
trying the tool without hardware. English and Japanese texts are included.")
include(CPack)
