# The suite as one Debian package: `cmake --build build --target package`
# (or `cpack` in the build folder) writes lumen-suite_<version>_amd64.deb.
install(FILES
    packaging/sequa.desktop packaging/ledgerly.desktop
    packaging/converter.desktop packaging/driftlog.desktop packaging/hostsim.desktop
    DESTINATION share/applications)
install(DIRECTORY examples/ DESTINATION share/lumen/examples OPTIONAL)

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "lumen-suite")
set(CPACK_PACKAGE_VENDOR "Lumen lab suite")
set(CPACK_PACKAGE_CONTACT "Lumen lab suite maintainers <lumen@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Measurement scripts, results archive, spectrum import and drift log for gamma spectroscopy labs")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-psql")
include(CPack)
