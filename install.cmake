# Installing: the programs in bin/, their music and effects in share/sevenchips/ (where the
# program looks beside its bin/), the desktop entry with its software-centre listing, the icons
# and the manual pages. Debian's layout for games puts the programs in games/ and their data in
# share/games/sevenchips/ (SEVENCHIPS_GAMES_LAYOUT, set by debian/rules).
if(SEVENCHIPS_GAMES_LAYOUT)
  set(SEVENCHIPS_BIN games)
  set(SEVENCHIPS_SHARE share/games/sevenchips)
else()
  set(SEVENCHIPS_BIN bin)
  set(SEVENCHIPS_SHARE share/sevenchips)
endif()
set(SEVENCHIPS_ID io.github.sevenchips.SevenChips)

install(TARGETS sevenchips-replay RUNTIME DESTINATION ${SEVENCHIPS_BIN})
if(TARGET sevenchips)
  install(TARGETS sevenchips RUNTIME DESTINATION ${SEVENCHIPS_BIN})
endif()

install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/bg/ DESTINATION ${SEVENCHIPS_SHARE}/bg)
file(GLOB SEVENCHIPS_EFFECTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/se/*.wav)
install(FILES ${SEVENCHIPS_EFFECTS} DESTINATION ${SEVENCHIPS_SHARE}/se)

install(FILES ${CMAKE_SOURCE_DIR}/data/${SEVENCHIPS_ID}.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/${SEVENCHIPS_ID}.metainfo.xml DESTINATION share/metainfo)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/icons/hicolor DESTINATION share/icons)

# The manual page names the data folder of this install (the prefix is known only then).
install(CODE "
  set(SEVENCHIPS_DATA_DIR \"\${CMAKE_INSTALL_PREFIX}/${SEVENCHIPS_SHARE}\")
  configure_file(\"${CMAKE_SOURCE_DIR}/data/sevenchips.6\" \"${CMAKE_BINARY_DIR}/generated/sevenchips.6\" @ONLY)
")
install(FILES ${CMAKE_BINARY_DIR}/generated/sevenchips.6 ${CMAKE_SOURCE_DIR}/data/sevenchips-replay.6
        DESTINATION share/man/man6)
