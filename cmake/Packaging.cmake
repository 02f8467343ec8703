# `./morvel package`: a Debian package of everything `cmake --install`
# installs, for /usr. Its dependencies are found by dpkg-shlibdeps from the
# shared libraries the program and its two libraries link.
set(MORVEL_CONTACT "Brimvale <morvel@brimvale.example>" CACHE STRING "The package's maintainer: name <e-mail>")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvel)
set(CPACK_PACKAGE_VENDOR Brimvale)
set(CPACK_PACKAGE_CONTACT "${MORVEL_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for hand-written HTML pages, with a Danish user interface")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Morvex opens HTML pages in tabs with their code coloured and keeps their\n"
    "bytes as they were. Dialogs build and re-edit links, pictures, lists, fonts\n"
    "and forms; a code check finds unclosed and misplaced codes; the Danish\n"
    "letters become entity codes and back; pages are published by FTP.\n"
    "\n"
    "The package also holds the editor control tivra32 as a shared library for\n"
    "other programs.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${MORVEL_WEBSITE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)

include(CPack)
