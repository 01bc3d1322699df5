# Run when installing (cmake/Desktop.cmake): writes the menu entry with the Exec line for
# the program as installed. A program in a folder of the standard PATH is named bare, as
# Debian's menus expect; anywhere else by its full path, since the menu would otherwise
# start nothing, or another program of the same name. Worked out at install time because
# `cmake --install --prefix` may install elsewhere than the build was configured for.
# Expects ZORBO_DESKTOP_TEMPLATE, ZORBO_DESKTOP_OUT and ZORBO_INSTALL_BINDIR.
# Install scripts start with no policies set: if(IN_LIST) needs CMP0057.
cmake_policy(PUSH)
cmake_policy(SET CMP0057 NEW)
set(bindir ${ZORBO_INSTALL_BINDIR})
if(NOT IS_ABSOLUTE "${bindir}")
  set(bindir "${CMAKE_INSTALL_PREFIX}/${bindir}")
endif()
cmake_path(NORMAL_PATH bindir)
string(REGEX REPLACE "(.)/+$" "\\1" bindir "${bindir}")
set(standard_path /usr/bin /usr/games /usr/local/bin /usr/local/games)
if(bindir IN_LIST standard_path)
  set(ZORBO_EXEC zorbo)
else()
  set(ZORBO_EXEC "${bindir}/zorbo")
  # A path with a space or a character the Exec key reserves is quoted, its \ " ` $
  # escaped; then, as in every string of the file, each \ is doubled and % is written %%.
  if(ZORBO_EXEC MATCHES "[^A-Za-z0-9/._+-]")
    string(REPLACE "\\" "\\\\" ZORBO_EXEC "${ZORBO_EXEC}")
    foreach(reserved "\"" "`" "$")
      string(REPLACE "${reserved}" "\\${reserved}" ZORBO_EXEC "${ZORBO_EXEC}")
    endforeach()
    set(ZORBO_EXEC "\"${ZORBO_EXEC}\"")
    string(REPLACE "\\" "\\\\" ZORBO_EXEC "${ZORBO_EXEC}")
  endif()
  string(REPLACE "%" "%%" ZORBO_EXEC "${ZORBO_EXEC}")
endif()
configure_file("${ZORBO_DESKTOP_TEMPLATE}" "${ZORBO_DESKTOP_OUT}" @ONLY)
cmake_policy(POP)
