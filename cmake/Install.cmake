# Installation (cmake --install) and packaging (CPack).
#
#   <prefix>/bin/Pelavor, <prefix>/bin/lumivexis      the editor and the command-line tool
#   <prefix>/libexec/lumivexis/ScreenSaver.dat        the player, which packed saves and exports copy
#   <prefix>/lib/libLumivexis_mt.so.2                 the engine, for programs that host it, with its
#   <prefix>/include/lumivexis, lib/pkgconfig         headers and lumivexis.pc
#   <prefix>/share/lumivexis/media                    default font, demo scene, sprites, particle
#                                                     systems, paths and the editor's manual (media/help)
#   <prefix>/share/lumivexis/installer                the template of the installers the export builds
#   <prefix>/share/applications, icons, mime          Pelavor's desktop entry and icon, the ".bgs" type
#
# The programs look for the player and the shared files beside themselves
# first (the build tree), then in these folders (CInstallLayout), which is
# why the folders are compiled into the engine.
include(GNUInstallDirs)

set(LVX_INSTALL_PLAYERDIR ${CMAKE_INSTALL_LIBEXECDIR}/lumivexis)
set(LVX_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/lumivexis)
set(LVX_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

target_compile_definitions(lvx_files PRIVATE
  LVX_INSTALL_BINDIR="${CMAKE_INSTALL_BINDIR}"
  LVX_INSTALL_PLAYERDIR="${LVX_INSTALL_PLAYERDIR}"
  LVX_INSTALL_LIBDIR="${CMAKE_INSTALL_LIBDIR}"
  LVX_INSTALL_DATADIR="${LVX_INSTALL_DATADIR}"
  LVX_INSTALL_PREFIX="${CMAKE_INSTALL_PREFIX}")

# ---------------------------------------------------------------- programs

install(TARGETS lumivexis RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET Pelavor)
  install(TARGETS Pelavor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# Not on the PATH: nobody runs it by name, its copies inside packages and
# exports are what play.
install(TARGETS ScreenSaver RUNTIME DESTINATION ${LVX_INSTALL_PLAYERDIR})

# ---------------------------------------------------------------- the engine

install(TARGETS Lumivexis_mt LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/engine/
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/lumivexis
        FILES_MATCHING PATTERN "*.h")
# The .pc file finds its prefix from its own place, so the same file serves
# /usr, /usr/local and a staging folder.
file(RELATIVE_PATH LVX_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" LVX_PC_TO_PREFIX "${LVX_PC_TO_PREFIX}")
file(RELATIVE_PATH LVX_PC_LIBDIR ${CMAKE_INSTALL_PREFIX} ${CMAKE_INSTALL_FULL_LIBDIR})
file(RELATIVE_PATH LVX_PC_INCLUDEDIR ${CMAKE_INSTALL_PREFIX} ${CMAKE_INSTALL_FULL_INCLUDEDIR}/lumivexis)
configure_file(${LVX_PACKAGING_DIR}/lumivexis.pc.in ${PROJECT_BINARY_DIR}/packaging/lumivexis.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/lumivexis.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# ---------------------------------------------------------------- shared files

# The build's media folder, named folder by folder so that whatever else a
# test run leaves in bin/media stays out.
set(LVX_INSTALLED_MEDIA fonts demo sprites particles paths help)
foreach(folder IN LISTS LVX_INSTALLED_MEDIA)
  install(DIRECTORY ${LVX_OUTPUT_DIR}/media/${folder} DESTINATION ${LVX_INSTALL_DATADIR}/media)
endforeach()
# The installer template from its sources: the copy in bin/installer also
# gets the filled script and the log of every export run there.
file(GLOB LVX_INSTALLER_TEMPLATE CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/installer/*)
list(REMOVE_ITEM LVX_INSTALLER_TEMPLATE ${PROJECT_SOURCE_DIR}/installer/CMakeLists.txt)
install(FILES ${LVX_INSTALLER_TEMPLATE} DESTINATION ${LVX_INSTALL_DATADIR}/installer)

# ---------------------------------------------------------------- the desktop

if(TARGET Pelavor)
  install(FILES ${LVX_PACKAGING_DIR}/org.lumivexis.Pelavor.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${LVX_PACKAGING_DIR}/org.lumivexis.Pelavor.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
install(FILES ${LVX_PACKAGING_DIR}/lumivexis.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${LVX_PACKAGING_DIR}/application-x-lumivexis-scene.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes)

# A plain `cmake --install` into a live prefix refreshes the desktop's
# caches, so that a double click on a scene opens Pelavor at once. Staged
# installs (DESTDIR, CPack) leave that to the package manager, whose
# triggers do it on the target system.
install(CODE [[
  if("$ENV{DESTDIR}" STREQUAL "" AND NOT CMAKE_INSTALL_PREFIX MATCHES "/_CPack_Packages/")
    set(share "${CMAKE_INSTALL_PREFIX}/share")
    foreach(step "update-mime-database;${share}/mime"
                 "update-desktop-database;-q;${share}/applications"
                 "gtk-update-icon-cache;-q;-t;-f;${share}/icons/hicolor")
      list(POP_FRONT step tool)
      unset(lvx_tool_path)
      find_program(lvx_tool_path ${tool} NO_CACHE)
      if(lvx_tool_path)
        message(STATUS "Refreshing: ${tool}")
        execute_process(COMMAND ${lvx_tool_path} ${step})
      endif()
    endforeach()
  endif()
]])

# ---------------------------------------------------------------- the Debian package

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "lumivexis")
# The version users see: Pelavor's (its About box and --version).
set(CPACK_PACKAGE_VERSION "0.3.5")
set(CPACK_PACKAGE_VENDOR "Lumivexis")
set(LVX_PACKAGE_MAINTAINER "Lumivexis maintainers <maintainers@lumivexis.org>"
    CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${LVX_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Pelavor, an authoring tool for animated 3D screensavers")
set(CPACK_PACKAGE_DESCRIPTION
    "Pelavor composes animated 3D scenes (solids, planes, imported meshes, bitmap-font text, terrain and \
keyed cameras) on a timeline with an MP3 soundtrack, and exports them as stand-alone screensavers. \
The package holds the editor Pelavor, the player, the lumivexis command-line tool, the Lumivexis engine \
library with its headers, and the demo scene.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "graphics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_STRIP_FILES ON)
# The libraries the programs link come from dpkg-shlibdeps; these are what
# they need besides: the GL and EGL drivers (libepoxy opens them at run
# time), zlib (the PNG files written through libpng), the font the overlay
# and the default bitmap font are drawn from, and the installer builder of
# the export.
set(LVX_DEBIAN_RUNTIME_EXTRAS
    "libegl1, libgl1, libegl-mesa0, libgl1-mesa-dri, zlib1g, fonts-liberation2, makeself")
find_program(LVX_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(LVX_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${LVX_DEBIAN_RUNTIME_EXTRAS}")
else()
  # Without dpkg-dev: the runtime packages of the libraries the set-up
  # installs for the build.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libqt6widgets6, libqt6gui6, libqt6core6, libsdl2-2.0-0, libsdl2-mixer-2.0-0, libepoxy0, \
libpng16-16, libfreetype6, libfontconfig1, libmpg123-0, zlib1g, libx11-6, \
${LVX_DEBIAN_RUNTIME_EXTRAS}")
endif()
include(CPack)
