# Run at install time: the command link in bin and the launcher, both naming the prefix given then.
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
file(MAKE_DIRECTORY "${root}/bin" "${root}/share/applications")
file(REMOVE "${root}/bin/space-shooter")
file(CREATE_LINK ../${SS_APPDIR}/space-shooter "${root}/bin/space-shooter" SYMBOLIC)

# The launcher's command is quoted so that a prefix with spaces still runs.
# Inside the quotes \ " ` and $ take a backslash, and the file's own string
# escapes then write every backslash twice.
set(command "${CMAKE_INSTALL_PREFIX}/bin/space-shooter")
string(REPLACE "\\" "\\\\" command "${command}")
foreach(c "\"" "`" "$")
    string(REPLACE "${c}" "\\${c}" command "${command}")
endforeach()
string(REPLACE "\\" "\\\\" command "${command}")
set(SS_EXEC "\"${command}\"")
configure_file("${SS_SOURCE_DIR}/dist/space-shooter.desktop.in"
    "${root}/share/applications/space-shooter.desktop" @ONLY)

list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${root}/bin/space-shooter"
    "${root}/share/applications/space-shooter.desktop")
message(STATUS "Installing: ${root}/bin/space-shooter")
message(STATUS "Installing: ${root}/share/applications/space-shooter.desktop")
