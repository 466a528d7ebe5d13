# The suite as one Debian package: `cmake --build build --target package`
# (or `cpack` in the build folder) writes lumen-suite_<version>_amd64.deb.
set(pkg ${PROJECT_SOURCE_DIR}/packaging)
set(doc share/doc/lumen-suite)

# Desktop IDs are reverse-domain names, so no other package's entry can clash.
install(FILES
    ${pkg}/io.lumen.Sequa.desktop ${pkg}/io.lumen.Ledgerly.desktop
    ${pkg}/io.lumen.Transpec.desktop ${pkg}/io.lumen.Driftlog.desktop
    ${pkg}/io.lumen.hostsim.desktop
    DESTINATION share/applications)
install(FILES
    ${pkg}/icons/lumen-sequa.svg ${pkg}/icons/lumen-ledgerly.svg ${pkg}/icons/lumen-transpec.svg
    ${pkg}/icons/lumen-driftlog.svg ${pkg}/icons/lumen-hostsim.svg
    DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${pkg}/io.lumen.Sequa.xml DESTINATION share/mime/packages)
# Examples are documentation, so they live under the doc folder; the old path
# stays as a link, for the scripts and notes that name it.
install(DIRECTORY examples/ DESTINATION ${doc}/examples OPTIONAL)
install(CODE "
  set(old \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/lumen/examples\")
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/lumen\")
  file(REMOVE_RECURSE \"\${old}\")
  file(CREATE_LINK ../doc/lumen-suite/examples \"\${old}\" SYMBOLIC)")

# Documentation: compressed the way Debian wants it (gzip -9, no name or time
# inside, so the same sources give the same package).
find_program(GZIP_PROGRAM gzip REQUIRED)
# Policy wants the changelog and every document over 4 kB compressed.
# `entries` are SOURCE|NAME pairs; each becomes NAME.gz in the build's `subdir`.
function(lumen_compress_docs out subdir)
  set(made)
  foreach(entry ${ARGN})
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 source)
    list(GET entry 1 name)
    set(gz ${CMAKE_CURRENT_BINARY_DIR}/${subdir}/${name}.gz)
    add_custom_command(OUTPUT ${gz}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/${subdir}
        COMMAND ${GZIP_PROGRAM} -9nc ${source} > ${gz}
        DEPENDS ${source} VERBATIM)
    list(APPEND made ${gz})
  endforeach()
  set(${out} ${made} PARENT_SCOPE)
endfunction()
lumen_compress_docs(compressed_docs packaging
    "${pkg}/changelog|changelog" "${PROJECT_SOURCE_DIR}/README.md|README.md"
    "${PROJECT_SOURCE_DIR}/hostsim/README.md|host-bridge-protocol.md")
# The reference pages keep their folder beside the README, with the
# screenshots they show, so that the README's links lead somewhere.
file(GLOB reference_pages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.md)
set(page_entries)
foreach(page ${reference_pages})
  get_filename_component(name ${page} NAME)
  list(APPEND page_entries "${page}|${name}")
endforeach()
lumen_compress_docs(compressed_pages packaging/docs ${page_entries})
add_custom_target(lumen_docs ALL DEPENDS ${compressed_docs} ${compressed_pages})
install(FILES ${pkg}/copyright ${compressed_docs} DESTINATION ${doc})
install(FILES ${compressed_pages} DESTINATION ${doc}/docs)
install(DIRECTORY docs/screenshots DESTINATION ${doc}/docs OPTIONAL)

# Man pages, made from each program's own --help and --version by help2man, so
# they say what the program says and cannot fall behind it; packaging/man/*.h2m
# adds the environment, files and examples that --help leaves out. They are not
# made in sanitizer builds, whose programs are for the tests only.
find_program(HELP2MAN_PROGRAM help2man)
if(HELP2MAN_PROGRAM AND NOT LUMEN_SANITIZE)
  # Each program's include file shares the common parts of packaging/man/*.txt.
  set(man_parts ${pkg}/man/common-env.txt ${pkg}/man/common-files.txt ${pkg}/man/common-see.txt)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${man_parts})
  file(READ ${pkg}/man/common-env.txt COMMON_ENVIRONMENT)
  file(READ ${pkg}/man/common-files.txt COMMON_FILES)
  file(READ ${pkg}/man/common-see.txt COMMON_SEE_ALSO)
  foreach(part COMMON_ENVIRONMENT COMMON_FILES COMMON_SEE_ALSO)
    string(STRIP "${${part}}" ${part})
  endforeach()
  set(man_pages)
  foreach(program Sequa Ledgerly Transpec Driftlog hostsim)
    set(page ${CMAKE_CURRENT_BINARY_DIR}/packaging/${program}.1)
    configure_file(${pkg}/man/${program}.h2m ${page}.h2m @ONLY)
    add_custom_command(OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging
        COMMAND ${CMAKE_COMMAND} -DHELP2MAN=${HELP2MAN_PROGRAM} -DGZIP=${GZIP_PROGRAM}
                -DPROGRAM=$<TARGET_FILE:${program}> -DINCLUDE=${page}.h2m -DPAGE=${page}
                -P ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
        DEPENDS ${program} ${page}.h2m ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake VERBATIM)
    list(APPEND man_pages ${page}.gz)
  endforeach()
  add_custom_target(lumen_man_pages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION share/man/man1)
elseif(NOT LUMEN_SANITIZE)
  message(WARNING "help2man not found: the package will have no man pages (bash scripts/setup.sh)")
endif()

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "lumen-suite")
set(CPACK_PACKAGE_VENDOR "Lumen lab suite")
set(CPACK_PACKAGE_CONTACT "Lumen lab suite maintainers <lumen-suite@lab.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "gamma spectroscopy lab programs: scripts, results archive, spectra, drift log")
# The summary above is the synopsis line; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Four desktop programs that work beside a lab's MCA host application:
Sequa records and plays measurement scripts that drive the host, also
unattended; Ledgerly archives analysed samples from the results report into
a results database (SQLite or PostgreSQL); Transpec reads CHN, SPC, SPE
and N42 spectrum files and writes them as ANS, N42 or CSV files or as a PNG
graph; Driftlog logs the drift of a check-source peak.

hostsim, a simulated MCA host served over TCP, lets scripts be tried and
timed before they run on the real host.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The SVG plugins draw the window icons; no library link shows that need.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-psql")
set(CPACK_STRIP_FILES ON)
include(CPack)
