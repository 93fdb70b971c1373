# What `cmake --install` puts under the prefix (GNU layout, so that /usr,
# /usr/local and ~/.local all work): the program, its desktop entry, AppStream
# metainfo and icons in the hicolor theme, the demo scripts, the licence and
# the README. Everything else the program needs (scenarios, translations,
# sounds) is embedded in it.

include(GNUInstallDirs)

# `cmake --install` and the package install what is built; they do not build
# every test first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

# Named as the package is, not with the project's capital.
set(VESK_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/vesk)
set(VESK_RELEASE_DATE 2026-12-10)
set(VESK_ICON_SIZES 16 22 24 32 48 64 128 256 512)
set(linux_resources ${CMAKE_SOURCE_DIR}/resources/linux)
set(icon_svg ${linux_resources}/vesk.svg)

# The PNG icons are rendered from the SVG at build time.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(icon_pngs)
foreach(size IN LISTS VESK_ICON_SIZES)
  set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${VESK_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
                     COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${icon_svg}
                     DEPENDS ${icon_svg}
                     COMMENT "Rendering the ${size}x${size} icon"
                     VERBATIM)
  list(APPEND icon_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(vesk_icons DEPENDS ${icon_pngs})
add_dependencies(vesk vesk_icons)

configure_file(${linux_resources}/${VESK_APP_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/${VESK_APP_ID}.metainfo.xml
               @ONLY)

install(TARGETS vesk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${linux_resources}/${VESK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/${VESK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VESK_APP_ID}.svg)
file(GLOB demo_scripts ${CMAKE_SOURCE_DIR}/scripts/demo/*.json)
install(FILES ${demo_scripts} DESTINATION ${CMAKE_INSTALL_DATADIR}/vesk/demo)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${VESK_INSTALL_DOCDIR})
