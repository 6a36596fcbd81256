# `cmake --build --preset release --target package` makes a .deb whose
# dependencies are the Debian runtime packages the programs link against.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velarix)
set(CPACK_PACKAGE_VENDOR "Velarix")
set(CPACK_PACKAGE_CONTACT "Velarix developers <dev@velarix.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Service tool for ST20-family satellite decoders")
# One string: pieces in quotes would be joined with semicolons.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Reads, edits and writes a decoder's configuration EEPROM over the serial link, uploads\n"
    "firmware over the parallel port, reads and programs memory and flash over JTAG, edits\n"
    "channel and transponder tables and turns a captured video frame into a picture. Comes\n"
    "with a simulated decoder to try it without hardware.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bash-completion")
include(CPack)
