# A normal Linux install: the three programs in bin/; the sample settings
# folder under share/velarix/ (copied into the user's settings folder on first
# start); the desktop entries, the icon, the man page and bash completion.
include(GNUInstallDirs)

install(TARGETS velarix velarix-cli velarix-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY data/INIs DESTINATION ${CMAKE_INSTALL_DATADIR}/velarix)
install(FILES data/desktop/velarix.desktop data/desktop/velarix-demo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/icons/velarix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES data/icons/velarix-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME velarix.png)
endforeach()
install(FILES data/completion/velarix-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# The man page of velarix-cli is made from its own help text, so it always
# says what the program does.
set(VELARIX_MAN_PAGE ${CMAKE_BINARY_DIR}/man/velarix-cli.1)
add_custom_command(
  OUTPUT ${VELARIX_MAN_PAGE}
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:velarix-cli> -DOUTPUT=${VELARIX_MAN_PAGE}
          -DVERSION=${PROJECT_VERSION} -P ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
  DEPENDS velarix-cli ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
  COMMENT "Making the man page of velarix-cli from its help")
add_custom_target(velarix_man_page ALL DEPENDS ${VELARIX_MAN_PAGE})
install(FILES ${VELARIX_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Sample channel tables of the simulator's own making, for trying the
# "Sintonización" page: a flash image and a RAM table.
set(VELARIX_SAMPLE_TABLES ${CMAKE_BINARY_DIR}/samples/sample-flash.bin
                          ${CMAKE_BINARY_DIR}/samples/sample-ram.bin)
add_custom_command(
  OUTPUT ${VELARIX_SAMPLE_TABLES}
  COMMAND velarix-sim --save-tables ${CMAKE_BINARY_DIR}/samples
  DEPENDS velarix-sim
  COMMENT "Writing the sample channel tables")
add_custom_target(velarix_sample_tables ALL DEPENDS ${VELARIX_SAMPLE_TABLES})
install(FILES ${VELARIX_SAMPLE_TABLES} DESTINATION ${CMAKE_INSTALL_DATADIR}/velarix/samples)
