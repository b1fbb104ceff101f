# make install / make package: the program, its sounds and music, a desktop entry, icons,
# AppStream metainfo and a manual page. Under a /usr prefix the layout is Debian's for games
# (games/zumbrix, share/games/zumbrix/data); under any other it is bin/zumbrix and
# share/zumbrix/data. The game finds its data from its own path, so the installed tree may be
# moved whole. make package builds a Debian package of the same files with CPack.

set(ZX_APP_ID io.github.zumbrix.zumbrix)
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(ZX_INSTALL_BINDIR games)
  set(ZX_INSTALL_DATADIR share/games/zumbrix)
else()
  set(ZX_INSTALL_BINDIR bin)
  set(ZX_INSTALL_DATADIR share/zumbrix)
endif()

install(TARGETS zumbrix RUNTIME DESTINATION ${ZX_INSTALL_BINDIR})
install(FILES ${ZX_ASSET_SOUNDS} DESTINATION ${ZX_INSTALL_DATADIR}/data)

set(ZX_EXEC ${CMAKE_INSTALL_PREFIX}/${ZX_INSTALL_BINDIR}/zumbrix)
set(ZX_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
configure_file(dist/zumbrix.desktop.in ${ZX_DIST_DIR}/${ZX_APP_ID}.desktop @ONLY)
configure_file(dist/zumbrix.metainfo.xml.in ${ZX_DIST_DIR}/${ZX_APP_ID}.metainfo.xml @ONLY)
install(FILES ${ZX_DIST_DIR}/${ZX_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${ZX_DIST_DIR}/${ZX_APP_ID}.metainfo.xml DESTINATION share/metainfo)

# The game's icon, and the same picture for its replay files.
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${ZX_ASSET_DIR}/icons/${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${ZX_APP_ID}.png)
  install(FILES ${ZX_ASSET_DIR}/icons/${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/mimetypes
          RENAME application-x-zumbrix-replay.png)
endforeach()

# The replay type (application/x-zumbrix-replay: the magic ZXREPLAY, *.zxreplay). A package's
# file lands in share/mime/packages, whose trigger (shared-mime-info's) rebuilds the database, as
# for every Debian package; a plain make install into the running system rebuilds it itself.
install(FILES dist/zumbrix-mime.xml DESTINATION share/mime/packages RENAME ${ZX_APP_ID}.xml)
install(
  CODE "if(NOT DEFINED ENV{DESTDIR} OR \"\$ENV{DESTDIR}\" STREQUAL \"\")
  find_program(ZX_UPDATE_MIME update-mime-database)
  if(ZX_UPDATE_MIME)
    execute_process(COMMAND \${ZX_UPDATE_MIME} \"\${CMAKE_INSTALL_PREFIX}/share/mime\")
  endif()
endif()")

# Manual pages are installed compressed, as Debian requires (-n: no name or time stamp inside).
configure_file(dist/zumbrix.6.in ${ZX_DIST_DIR}/zumbrix.6 @ONLY)
add_custom_command(
  OUTPUT ${ZX_DIST_DIR}/zumbrix.6.gz
  COMMAND sh -c "gzip -9n -c '${ZX_DIST_DIR}/zumbrix.6' > '${ZX_DIST_DIR}/zumbrix.6.gz'"
  DEPENDS ${ZX_DIST_DIR}/zumbrix.6
  COMMENT "Compressing the manual page"
  VERBATIM)
add_custom_target(zx_manual ALL DEPENDS ${ZX_DIST_DIR}/zumbrix.6.gz)
install(FILES ${ZX_DIST_DIR}/zumbrix.6.gz DESTINATION share/man/man6)

# Who answers for the package; set -DZX_PACKAGE_MAINTAINER="Name <address>" for a real release.
set(ZX_PACKAGE_MAINTAINER "Zumbrix developers <zumbrix@example.org>" CACHE STRING "")

# The package's history and terms, in Debian's formats, where Debian looks for them: the changelog
# compressed (-n again), the copyright file plain. The changelog's newest entry must be this
# version's, so a version bump without an entry stops the configuration.
file(STRINGS dist/changelog.in ZX_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT ZX_CHANGELOG_TOP MATCHES "^zumbrix \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "dist/changelog.in starts with \"${ZX_CHANGELOG_TOP}\": "
                      "its newest entry must be for version ${PROJECT_VERSION}")
endif()
set(ZX_DOC_DIR share/doc/zumbrix)
configure_file(dist/changelog.in ${ZX_DIST_DIR}/changelog @ONLY)
configure_file(dist/copyright.in ${ZX_DIST_DIR}/copyright @ONLY)
add_custom_command(
  OUTPUT ${ZX_DIST_DIR}/changelog.gz
  COMMAND sh -c "gzip -9n -c '${ZX_DIST_DIR}/changelog' > '${ZX_DIST_DIR}/changelog.gz'"
  DEPENDS ${ZX_DIST_DIR}/changelog
  COMMENT "Compressing the changelog"
  VERBATIM)
add_custom_target(zx_changelog ALL DEPENDS ${ZX_DIST_DIR}/changelog.gz)
install(FILES ${ZX_DIST_DIR}/changelog.gz ${ZX_DIST_DIR}/copyright DESTINATION ${ZX_DOC_DIR})

# The Debian package: every library dependency found by dpkg-shlibdeps from the program itself,
# and the OpenGL libraries SDL opens by name.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zumbrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ZX_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade shoot-'em-up in red/cyan anaglyph 3D")
set(CPACK_PACKAGE_DESCRIPTION
    "Your ship sits at the bottom of the screen and follows the mouse; swarms
of space bees materialise as rings of eight, converge, merge into a single
bee and then curve, shoot and dive at you. Two swarm waves and a bonus round
make a cycle, and the best score is kept between games. Everything is drawn
for red/cyan glasses.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL loads the OpenGL library at run time (GLX's libGL on X11, EGL on Wayland), so dpkg-shlibdeps
# cannot see it; its result is added to these.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libegl1")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
