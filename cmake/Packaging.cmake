# Install rules and the Debian package (`make deb`). Components: `runtime` holds the programs,
# `data` the help and the examples, `desktop` what the desktop's menus, software centres and
# icon themes read; tools/check-desktop-files.sh installs only `desktop` to validate it.
include(GNUInstallDirs)

# The AppStream id; the desktop entry is installed under the same name so that software
# centres can match the two.
set(ANITROPE_APP_ID org.anitrope.Anitrope)

foreach(program anitrope anitrope-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
  endif()
endforeach()

# The editor looks for the help in <prefix>/share/anitrope; OPTIONAL because the help target
# may not be part of every build.
if(TARGET anitrope_help)
  install(FILES ${CMAKE_BINARY_DIR}/src/app/anitrope.qch
    DESTINATION ${CMAKE_INSTALL_DATADIR}/anitrope COMPONENT data OPTIONAL)
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/anitrope/examples COMPONENT data)

install(FILES ${PROJECT_SOURCE_DIR}/share/anitrope.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME ${ANITROPE_APP_ID}.desktop
  COMPONENT desktop)
install(FILES ${PROJECT_SOURCE_DIR}/share/${ANITROPE_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT desktop)
install(FILES ${PROJECT_SOURCE_DIR}/share/icons/anitrope.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT desktop)
foreach(size 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/share/icons/anitrope-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME anitrope.png COMPONENT desktop)
endforeach()

# One package with every component. The desktop database and the icon cache are refreshed
# by the dpkg triggers of desktop-file-utils and the icon theme, so no maintainer scripts.
set(ANITROPE_MAINTAINER "Anitrope developers <maintainers@anitrope.org>"
  CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME anitrope)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Anitrope developers")
set(CPACK_PACKAGE_CONTACT "${ANITROPE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for animated GIF files")
# CPack puts the summary first and indents these lines, but keeps them as they are broken
# here: the control file wants them under 80 characters.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Anitrope shows the frames of an animation in a tree, sets each frame's
delay, disposal, transparency and palette, imports pictures and video clips
as frames, generates frames from effects, transitions and scrolling banner
text, and saves optimized GIF89a files. The package also holds anitrope-cli,
which does the same work from scripts.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugins and SQL drivers at run time, where dpkg-shlibdeps cannot see
# them; the help file is an SQLite database that Qt's help engine opens through its driver.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
if(TARGET anitrope_help)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libqt6sql6-sqlite")
endif()
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
