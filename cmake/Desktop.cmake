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

# The manual pages of the game and the solver, made from their --help texts.
add_executable(zorbo_manpage tools/manpage_main.cpp)
target_link_libraries(zorbo_manpage PRIVATE zorbo_app zorbo_solver_lib)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/zorbo.6 ${CMAKE_BINARY_DIR}/zorbo_solve.6
  COMMAND zorbo_manpage ${CMAKE_BINARY_DIR}/zorbo.6
  COMMAND zorbo_manpage ${CMAKE_BINARY_DIR}/zorbo_solve.6 solve
  DEPENDS zorbo_manpage
  COMMENT "Writing the manual pages zorbo.6 and zorbo_solve.6"
  VERBATIM)
add_custom_target(zorbo_manual ALL DEPENDS ${CMAKE_BINARY_DIR}/zorbo.6 ${CMAKE_BINARY_DIR}/zorbo_solve.6)
install(FILES ${CMAKE_BINARY_DIR}/zorbo.6 ${CMAKE_BINARY_DIR}/zorbo_solve.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
