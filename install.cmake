# Installing: the programs in bin/, their music and effects in share/sevenchips/ (where the
# program looks beside its bin/), a desktop entry, the icon and the manual page.
set(SEVENCHIPS_SHARE share/sevenchips)

install(TARGETS sevenchips-replay RUNTIME DESTINATION bin)
if(TARGET sevenchips)
  install(TARGETS sevenchips RUNTIME DESTINATION bin)
endif()

install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/bg/ DESTINATION ${SEVENCHIPS_SHARE}/bg)
file(GLOB SEVENCHIPS_EFFECTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/se/*.wav)
install(FILES ${SEVENCHIPS_EFFECTS} DESTINATION ${SEVENCHIPS_SHARE}/se)

install(FILES ${CMAKE_SOURCE_DIR}/data/sevenchips.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/assets/pictures/logo.png DESTINATION share/icons/hicolor/64x64/apps
        RENAME sevenchips.png)

# The manual page names the data folder of this install (the prefix is known only then).
install(CODE "
  set(SEVENCHIPS_DATA_DIR \"\${CMAKE_INSTALL_PREFIX}/${SEVENCHIPS_SHARE}\")
  configure_file(\"${CMAKE_SOURCE_DIR}/data/sevenchips.6\" \"${CMAKE_BINARY_DIR}/generated/sevenchips.6\" @ONLY)
")
install(FILES ${CMAKE_BINARY_DIR}/generated/sevenchips.6 DESTINATION share/man/man6)
