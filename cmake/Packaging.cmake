# Desktop integration and the Debian package: what `cmake --install` puts beside bin/pibo so that
# the program shows up in the application menu, and the CPack settings for `cpack -G DEB`.

include(GNUInstallDirs)

# The program finds sounds/ and mypics/ below its current directory, so the installed media folder
# doubles as the working folder of the desktop entry.
set(PIBO_DATA_SUBDIR ${CMAKE_INSTALL_DATADIR}/pibo)

# Identity in the software centres and the package. Placeholders until the project has a domain.
set(PIBO_APPSTREAM_ID "org.example.Pibo" CACHE STRING "AppStream component ID (reverse DNS)")
set(PIBO_HOMEPAGE "https://pibo.example.org/" CACHE STRING "Project homepage")
set(PIBO_PACKAGE_MAINTAINER "The Pibo developers <pibo@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

# The date of this release, for the metainfo, the manual page and the package's changelog.
set(PIBO_RELEASE_DATE 2026-12-11)
set(PIBO_RELEASE_DATE_RFC2822 "Fri, 11 Dec 2026 12:00:00 +0000")
set(PIBO_RELEASE_MONTH "December 2026")

set(PIBO_DIST_DIR ${CMAKE_SOURCE_DIR}/dist)
set(PIBO_DIST_BUILD_DIR ${CMAKE_BINARY_DIR}/dist)

# AppStream metainfo: only the ID and the homepage vary, so it is configured once here.
configure_file(${PIBO_DIST_DIR}/pibo.metainfo.xml.in
               ${PIBO_DIST_BUILD_DIR}/${PIBO_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${PIBO_DIST_BUILD_DIR}/${PIBO_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The desktop entry and the manual page name the absolute media folder, which is known only when
# installing: `--prefix` and CPack's staging both change CMAKE_INSTALL_PREFIX after configuring.
# So they are configured twice: here with all but the install paths, which stay @-placeholders,
# and again by the install step once the final prefix is known (CPack installs with its packaging
# prefix and stages through DESTDIR, so CMAKE_INSTALL_PREFIX is the final prefix there too).
set(PIBO_INSTALL_DATADIR "@PIBO_INSTALL_DATADIR@")
set(PIBO_INSTALL_APPDIR "@PIBO_INSTALL_APPDIR@")
configure_file(${PIBO_DIST_DIR}/pibo.desktop.in ${PIBO_DIST_BUILD_DIR}/pibo.desktop.in @ONLY)
configure_file(${PIBO_DIST_DIR}/pibo.6 ${PIBO_DIST_BUILD_DIR}/pibo.6.in @ONLY)
install(CODE "
    set(PIBO_INSTALL_DATADIR \"\${CMAKE_INSTALL_PREFIX}/${PIBO_DATA_SUBDIR}\")
    set(PIBO_INSTALL_APPDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
    configure_file(\"${PIBO_DIST_BUILD_DIR}/pibo.desktop.in\"
                   \"${PIBO_DIST_BUILD_DIR}/install/pibo.desktop\" @ONLY)
    configure_file(\"${PIBO_DIST_BUILD_DIR}/pibo.6.in\" \"${PIBO_DIST_BUILD_DIR}/install/pibo.6\"
                   @ONLY)
    execute_process(COMMAND gzip -9nf \"${PIBO_DIST_BUILD_DIR}/install/pibo.6\"
                    RESULT_VARIABLE pibo_gzip_result)
    if(NOT pibo_gzip_result EQUAL 0)
        message(FATAL_ERROR \"gzip of the manual page failed: \${pibo_gzip_result}\")
    endif()
")
install(FILES ${PIBO_DIST_BUILD_DIR}/install/pibo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PIBO_DIST_BUILD_DIR}/install/pibo.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The changelog a Debian package carries, compressed as the policy asks; CPack adds it to what it
# stages (a plain install leaves it out).
configure_file(${PIBO_DIST_DIR}/changelog.in ${PIBO_DIST_BUILD_DIR}/changelog @ONLY)
execute_process(COMMAND gzip -9nc ${PIBO_DIST_BUILD_DIR}/changelog
                OUTPUT_FILE ${PIBO_DIST_BUILD_DIR}/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/PackageChangelog.cmake.in
               ${PIBO_DIST_BUILD_DIR}/PackageChangelog.cmake @ONLY)
set(CPACK_INSTALL_SCRIPTS ${PIBO_DIST_BUILD_DIR}/PackageChangelog.cmake)

# The icon in the hicolor theme, from the renditions in res/icons/.
foreach(size 16 32 48 64 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/res/icons/pibo-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME pibo.png)
endforeach()

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pibo)
set(CPACK_PACKAGE_VENDOR "The Pibo developers")
set(CPACK_PACKAGE_CONTACT "${PIBO_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pictures and sounds for every key, for small children")
set(CPACK_PACKAGE_DESCRIPTION
    "Pibo opens one maximised window that asks the child to press any key.
From then on every fresh key press fills the window with a big picture
and plays a sound: letters and digits show their own picture and say
their name, every other key shows the next of six shapes, and the mouse
buttons play sounds too. Holding a key down repeats nothing.

A parent can switch letters and digits to the family's own pictures
from the View menu and replace any sound with a recording of their own.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PIBO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PIBO_HOMEPAGE}")
# Education rather than games: Debian keeps the programs of the games section in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps finds the libraries (Qt 6 widgets, libsndfile, SDL2, ...); these are what Qt
# loads at run time and the libraries do not pull in: the X11 platform plugin and a font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core | fonts-liberation2")
# The desktop's default sound, played for a missing sound file.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "sound-theme-freedesktop")
include(CPack)
