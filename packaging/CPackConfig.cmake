# The Debian package of a register machine: `cpack -G DEB` in a build folder makes vantle_<version>_<arch>.deb
# with /usr/bin/vantle, /usr/bin/vantle-admin, the menu entry and the setup guide in /usr/share/doc/vantle.
set(VANTLE_PACKAGE_MAINTAINER "Marveno maintainers <vantle@localhost>" CACHE STRING
    "Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME vantle)
set(CPACK_PACKAGE_VENDOR Marveno)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${VANTLE_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Marveno: checkout and accounting for a farmers' direct-sales shop")
set(CPACK_PACKAGE_DESCRIPTION
    "One copy per register: producers consign their goods, the cashier scans their labels, the sale is \
stored and a receipt printed on an ESC/POS receipt printer; at day end the cash is counted and the day \
closed; on closing dates every producer is paid the sales less commission and bank fee. Japanese, \
keyboard-driven screens. The data lives in SQLite files in the register's program folder or on a MariaDB \
server shared by several registers (through ODBC). vantle-admin creates program folders and prints the \
server's tables. See /usr/share/doc/vantle/SETUP.md.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build[^/]*/" "/demo/" "/\\\\.git/")

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_PACKAGE_NAME vantle)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VANTLE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library versions come from the binaries (dpkg-shlibdeps); what is loaded at run time is named here: the
# Qt platform, SQL and print plugins, the MariaDB ODBC driver and the receipt font. libcups2 (the jobs go to the
# CUPS queues through it) comes from the binaries; the CUPS commands a shop sets its queues up with are in cups.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6sql6 (>= 6.4), \
libqt6printsupport6 (>= 6.4), qt6-qpa-plugins, libqt6sql6-sqlite, libqt6sql6-odbc, unixodbc, odbc-mariadb, \
libsqlite3-0, fonts-ipaexfont-gothic, fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "mariadb-server, cups")

include(CPack)
