# The Debian package, made by `cpack -G DEB` in a build configured with the prefix /usr.
set(CPACK_PACKAGE_NAME quorin)
set(CPACK_PACKAGE_VENDOR "Quorin")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${QUORIN_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chess for two players over the network")
# The long description, in lines of at most 79 characters as Debian asks.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Quorin is a desktop chess program for two people, each at their own\n"
    "computer, playing against each other over the network. One copy waits for\n"
    "the other as the server, and the other connects to it as the client. Beside\n"
    "the board there are a chat, thinking-time clocks, a game record that can be\n"
    "saved and replayed, and a memo pad. The user interface is in Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUORIN_HOMEPAGE})
# The libraries the program and its sound library link come from dpkg-shlibdeps. Added
# to them is what the program loads or shows without linking it: the Japanese face of its
# texts, Qt's Japanese translations.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont, qt6-translations-l10n")
include(CPack)
