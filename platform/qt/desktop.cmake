# The desktop program `pellum`: the Qt Widgets face of the application shell in app/.
# Everything but main() is a library, so that the offscreen tests drive the same window
# and dialogs that the program shows.
add_library(pellum_desktop STATIC
  about_box.cpp
  chart_widget.cpp
  entry_dialog.cpp
  message_box.cpp
  open_file_dialog.cpp
  pellum_window.cpp
  program_icon.cpp
  qt_platform.cpp
)
target_link_libraries(pellum_desktop PUBLIC pellum_app pellum_qt_canvas Qt6::Widgets Qt6::Svg)
qt_add_resources(pellum_desktop pellum_icon PREFIX "/" FILES icons/pellum.svg)

add_executable(pellum main.cpp)
target_link_libraries(pellum PRIVATE pellum_desktop)

# The icon theme's PNG sizes, rendered from the SVG at build time.
add_executable(pellum_render_icon render_icon.cpp)
target_link_libraries(pellum_render_icon PRIVATE Qt6::Gui Qt6::Svg)
set(pellum_icon_pngs)
foreach(size 16 32 48 256)
  list(APPEND pellum_icon_pngs ${CMAKE_CURRENT_BINARY_DIR}/icons/pellum-${size}.png)
endforeach()
add_custom_command(
  OUTPUT ${pellum_icon_pngs}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons
  # Offscreen needs no display; a sanitizer build must not fail on Qt's own leaks here.
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:pellum_render_icon> ${CMAKE_CURRENT_SOURCE_DIR}/icons/pellum.svg
          ${CMAKE_CURRENT_BINARY_DIR}/icons
  DEPENDS pellum_render_icon ${CMAKE_CURRENT_SOURCE_DIR}/icons/pellum.svg
  COMMENT "Rendering the icon's PNG sizes"
  VERBATIM)
add_custom_target(pellum_icon_pngs ALL DEPENDS ${pellum_icon_pngs})

include(GNUInstallDirs)
install(TARGETS pellum RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES icons/pellum.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 256)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/icons/pellum-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME pellum.png)
endforeach()
install(FILES pellum.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
