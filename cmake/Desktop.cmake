# Desktop integration: the menu entry, the AppStream metainfo and the icons in the
# freedesktop icon theme, installed beside the game.
set(ZORBO_APP_ID org.zorbo.Zorbo)
set(ZORBO_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/assets/desktop)

install(FILES ${ZORBO_DESKTOP_DIR}/${ZORBO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZORBO_DESKTOP_DIR}/${ZORBO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 48 96 192)
  install(FILES ${ZORBO_ICON_DIR}/${size}x${size}/zorbo.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The manual page, made from the --help text and installed compressed, as Debian's policy
# asks (gzip -n: no name or time stamp in it).
add_executable(zorbo_manpage tools/manpage_main.cpp)
target_link_libraries(zorbo_manpage PRIVATE zorbo_app)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/zorbo.6 ${CMAKE_BINARY_DIR}/zorbo.6.gz
  COMMAND zorbo_manpage ${CMAKE_BINARY_DIR}/zorbo.6
  COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/zorbo.6 > ${CMAKE_BINARY_DIR}/zorbo.6.gz
  DEPENDS zorbo_manpage
  COMMENT "Writing the manual page zorbo.6"
  VERBATIM)
add_custom_target(zorbo_manual ALL DEPENDS ${CMAKE_BINARY_DIR}/zorbo.6.gz)
install(FILES ${CMAKE_BINARY_DIR}/zorbo.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
