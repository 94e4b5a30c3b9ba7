# What `cmake --install` puts down besides the program and its sounds (the desktop entry, the
# AppStream metadata, the icons and the licence), and the Debian package CPack builds from it:
# `cpack -G DEB` in the build folder.

# The application id names the desktop entry, the icons, the metadata and the autostart entry.
set(PLINKLY_APP_ID io.github.plinkly.Plinkly)
configure_file(${CMAKE_SOURCE_DIR}/src/Foundation/ApplicationId.h.in
               ${PLINKLY_GENERATED_DIR}/Foundation/ApplicationId.h @ONLY)

install(FILES data/${PLINKLY_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${PLINKLY_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Software centres show the metadata's newest release as the version.
file(READ data/${PLINKLY_APP_ID}.metainfo.xml PLINKLY_METAINFO)
if(NOT PLINKLY_METAINFO MATCHES "<release version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "data/${PLINKLY_APP_ID}.metainfo.xml has no release ${PROJECT_VERSION}")
endif()
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/plinkly RENAME copyright)

# Icons: the scalable artwork, PNGs rendered from it for the sizes software centres and panels
# ask for, and the one-colour tray icon the panel tints.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(PLINKLY_ICON_SVG ${CMAKE_SOURCE_DIR}/data/icons/${PLINKLY_APP_ID}.svg)
set(PLINKLY_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(PLINKLY_ICON_PNGS "")
foreach(size 48 64 128 256)
  set(png ${PLINKLY_ICON_DIR}/${size}x${size}/${PLINKLY_APP_ID}.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PLINKLY_ICON_DIR}/${size}x${size}
    COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${PLINKLY_ICON_SVG}
    DEPENDS ${PLINKLY_ICON_SVG}
    COMMENT "Rendering the ${size} px icon")
  list(APPEND PLINKLY_ICON_PNGS ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(plinkly_icons ALL DEPENDS ${PLINKLY_ICON_PNGS})
add_dependencies(plinkly plinkly_icons)
install(FILES ${PLINKLY_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES data/icons/${PLINKLY_APP_ID}-symbolic.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/symbolic/apps)
# The tray draws the symbolic artwork itself where the host takes only pictures.
qt_add_resources(plinkly_app plinkly_tray_icon PREFIX /icons BASE ${CMAKE_SOURCE_DIR}/data/icons
                 FILES ${CMAKE_SOURCE_DIR}/data/icons/${PLINKLY_APP_ID}-symbolic.svg)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plinkly)
set(CPACK_PACKAGE_VENDOR Plinkly)
set(CPACK_PACKAGE_CONTACT "Plinkly developers <dev@plinkly.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "key-switch sounds and small effects while you type")
set(CPACK_PACKAGE_DESCRIPTION
    "Plinkly is a tray application that answers the way you use your computer
with sound and small, brief effects: key-switch sounds while you type in any
application, click sounds, reactions to taps on a laptop's body, the lid, the
charger, sleep and wake, downloads, drives, displays and screenshots, a talking
desktop pet, focus sessions with a journal, screen toys and a small sound
studio. It makes no network connection and keeps everything on your machine.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# The dependencies come from the libraries the program links; Qt's X11 and SVG plugins ship
# in those libraries' packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded when first needed, so no link names them: libzip when an archive is imported,
# libsndfile while sounds are decoded or a clip written (1.1.0 reads MP3), each road's client
# library when the road is tried (the lowest versions with every function used). Folders are
# opened through xdg-open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libzip4, libsndfile1 (>= 1.1.0), libpipewire-0.3-0 (>= 0.3.56), libpulse0 (>= 12.99.2), libsdl2-2.0-0 (>= 2.24.0), xdg-utils")
# On GTK-based desktops Qt opens the desktop's own file chooser through this theme; without it
# Qt's own dialog, drawn by the kit, stands in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-gtk-platformtheme")
include(CPack)
