# The Debian package (cpack -G DEB) and what a Debian system expects beside the program: manual pages
# in English and Russian, the copyright file in Debian's machine-readable format and the changelog,
# the latter three compressed as Debian's tools compress them (gzip -9n, no time stamp).

find_program(ORL_GZIP gzip REQUIRED)
set(ORL_PACKAGE_DIR ${CMAKE_SOURCE_DIR}/data/package)
set(ORL_MAN_DIR ${CMAKE_SOURCE_DIR}/data/man)
set(ORL_PACKAGE_BUILD_DIR ${CMAKE_BINARY_DIR}/package)

# Each entry: source file and the compressed file it becomes in the build folder.
set(ORL_COMPRESSED
  "${ORL_MAN_DIR}/orl.1|man/orl.1.gz"
  "${ORL_MAN_DIR}/ru/orl.1|man/ru/orl.1.gz"
  "${ORL_PACKAGE_DIR}/changelog|changelog.gz")
set(ORL_COMPRESSED_OUTPUTS)
foreach(entry ${ORL_COMPRESSED})
  string(REPLACE "|" ";" parts ${entry})
  list(GET parts 0 source)
  list(GET parts 1 target)
  set(output ${ORL_PACKAGE_BUILD_DIR}/${target})
  get_filename_component(folder ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${ORL_GZIP} -9nc ${source} > ${output}
    DEPENDS ${source} VERBATIM)
  list(APPEND ORL_COMPRESSED_OUTPUTS ${output})
endforeach()
# Made with the program, so that an install after building the program finds them.
add_custom_target(orl_package_files ALL DEPENDS ${ORL_COMPRESSED_OUTPUTS})
add_dependencies(orl orl_package_files)

install(FILES ${ORL_PACKAGE_BUILD_DIR}/man/orl.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ORL_PACKAGE_BUILD_DIR}/man/ru/orl.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ru/man1)
install(FILES ${ORL_PACKAGE_DIR}/copyright ${ORL_PACKAGE_BUILD_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orl)

# The package holds the program only: cpack builds the program's target, not the tests and the
# benchmark that the whole build has, and an install no longer builds everything first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_INSTALL_COMMANDS "${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target orl")

# Linked as Debian links its programs: relocations read-only once loaded.
target_link_options(orl PRIVATE LINKER:-z,relro LINKER:-z,now)

set(CPACK_GENERATOR DEB)
# The long description under the summary, in lines short enough for Debian's tools: each line of
# the variable becomes one line of the control file.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Orl edits mIRC script files (.mrc, .ini, .txt) in Windows-1251 or UTF-8 text.
Five palettes append event headers, identifiers, symbols, command lines and
dialog templates; wizards and a dialog designer write script lines.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the program loads at run time besides the libraries it links: Qt's Russian translation and
# the SVG icon plug-in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, qt6-gtk-platformtheme")
