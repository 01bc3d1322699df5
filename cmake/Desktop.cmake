# Desktop integration: the menu entry, the AppStream metainfo and the icons in the
# freedesktop icon theme, installed beside the game.
set(ZORBO_APP_ID org.zorbo.Zorbo)
set(ZORBO_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/assets/desktop)

# The menu entry is written when installing, for the prefix installed to (DesktopEntry.cmake).
install(CODE "
  set(ZORBO_DESKTOP_TEMPLATE \"${ZORBO_DESKTOP_DIR}/${ZORBO_APP_ID}.desktop.in\")
  set(ZORBO_DESKTOP_OUT \"${CMAKE_BINARY_DIR}/${ZORBO_APP_ID}.desktop\")
  set(ZORBO_INSTALL_BINDIR \"${ZORBO_INSTALL_BINDIR}\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/DesktopEntry.cmake\")
  file(INSTALL \"\${ZORBO_DESKTOP_OUT}\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")")
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
set(ZORBO_MAN_PAGES ${CMAKE_BINARY_DIR}/zorbo.6.gz)
# The level editor's and the solver's pages, from the --help output of the built programs.
foreach(page "zorbo-edit|level editor for Zorbo's level sets"
             "zorbo_solve|search for a way through Zorbo's levels")
  string(REPLACE "|" ";" page "${page}")
  list(GET page 0 program)
  list(GET page 1 summary)
  set(out ${CMAKE_BINARY_DIR}/${program}.6)
  add_custom_command(
    OUTPUT ${out}.gz ${out} ${out}.help
    COMMAND ${program} --help > ${out}.help
    COMMAND zorbo_manpage ${out} ${program} ${summary} ${out}.help
    COMMAND gzip -9 -n -c ${out} > ${out}.gz
    DEPENDS zorbo_manpage ${program}
    COMMENT "Writing the manual page ${program}.6"
    VERBATIM)
  list(APPEND ZORBO_MAN_PAGES ${out}.gz)
endforeach()
add_custom_target(zorbo_manual ALL DEPENDS ${ZORBO_MAN_PAGES})
install(FILES ${ZORBO_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
