# cmake --install: the programs, their data, the desktop entry, the icon and the manual page.
install(TARGETS sevenchips-replay RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET sevenchips)
  install(TARGETS sevenchips RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/bg DESTINATION ${CMAKE_INSTALL_DATADIR}/sevenchips)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/se DESTINATION ${CMAKE_INSTALL_DATADIR}/sevenchips FILES_MATCHING PATTERN "*.wav")
install(FILES ${CMAKE_SOURCE_DIR}/data/sevenchips.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/assets/pictures/logo.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps
  RENAME sevenchips.png)
install(FILES ${CMAKE_SOURCE_DIR}/data/sevenchips.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
