# The web program: the game on the web platform, linked to a .js and a .wasm that the page
# (tools/web/site/) loads; tools/web/assemble-site.sh puts them together with the data.
file(GLOB WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/web/*.cpp)
# The browser programs' memcpy, linked into each of them as an object (so it is always the one
# used), with the bulk copy it makes long copies with.
set(MEMORY_COPY ${CMAKE_SOURCE_DIR}/src/platform/web/memory_copy.cpp)
list(REMOVE_ITEM WEB_SOURCES ${MEMORY_COPY})
set_source_files_properties(${MEMORY_COPY} PROPERTIES COMPILE_OPTIONS -mbulk-memory)
target_sources(sevenchips-replay PRIVATE ${MEMORY_COPY})
add_library(sevenchips_web STATIC ${WEB_SOURCES})
target_link_libraries(sevenchips_web PUBLIC sevenchips_common sevenchips_runs sevenchips_fontconfig)

add_executable(sevenchips-web ${CMAKE_SOURCE_DIR}/src/app/web_main.cpp ${MEMORY_COPY})
# The replay without a window tells the page what a run reached.
target_link_libraries(sevenchips-web PRIVATE sevenchips_web sevenchips_headless)
set_target_properties(sevenchips-web PROPERTIES OUTPUT_NAME sevenchips SUFFIX .js)
set_property(TARGET sevenchips-web APPEND PROPERTY LINK_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/asyncify_leaves.txt)
target_link_options(sevenchips-web PRIVATE
  # The game's waits sleep in the browser's event loop rather than block it. Every function
  # that might be on the stack at a wait is rewritten to unwind and rewind; asyncify_leaves.txt
  # names the code that never is (the libraries, strings, the pixels and the canvas picture:
  # nothing in them reaches a wait), which a blind analysis would take in through its pointers
  # to functions.
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=131072 -sASYNCIFY_IMPORTS=sc_page_wait
  -sASYNCIFY_REMOVE=@${CMAKE_CURRENT_LIST_DIR}/asyncify_leaves.txt
  # One fresh program per game: "play again" makes a new one, as starting the program would.
  -sMODULARIZE=1 -sEXPORT_NAME=SevenChips -sINVOKE_RUN=0
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
  -sENVIRONMENT=web -sFORCE_FILESYSTEM=1 -sEXPORTED_RUNTIME_METHODS=['FS','callMain'])

# The replay tool in a page, for its benchmark (bench/web.mjs): one fresh program per replay.
target_link_options(sevenchips-replay PRIVATE -sMODULARIZE=1 -sEXPORT_NAME=SevenChipsReplay -sINVOKE_RUN=0
  -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web -sFORCE_FILESYSTEM=1 -sEXPORTED_RUNTIME_METHODS=['FS','ENV','callMain'])
