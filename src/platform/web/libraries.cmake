# The libraries the web edition links, built for the browser by tools/web/build-libs.sh into
# the prefix passed as CMAKE_PREFIX_PATH, under the names the desktop build finds them by. The
# page plays the sound itself, so there is no SDL2 or SDL2_mixer in the browser.
set(SEVENCHIPS_TESTS OFF CACHE BOOL "" FORCE)
set(SEVENCHIPS_PAINTER OFF CACHE BOOL "" FORCE)
find_package(ZLIB REQUIRED)
find_package(PNG REQUIRED)
find_package(Freetype REQUIRED)
# FreeType's static library inflates its compressed tables with zlib.
target_link_libraries(Freetype::Freetype INTERFACE ZLIB::ZLIB)

# Linked with WebAssembly's bulk memory for the program's memcpy, the one file compiled with it
# (memory_copy.cpp says why).
add_link_options(-mbulk-memory)
