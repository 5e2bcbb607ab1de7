# The libraries the web edition links, built for the browser by tools/web/build-libs.sh into
# the prefix passed as CMAKE_PREFIX_PATH, under the names the desktop build finds them by.
set(SEVENCHIPS_TESTS OFF CACHE BOOL "" FORCE)
set(SEVENCHIPS_PAINTER OFF CACHE BOOL "" FORCE)
find_package(ZLIB REQUIRED)
find_package(PNG REQUIRED)
find_package(Freetype REQUIRED)
find_package(SDL2 REQUIRED CONFIG)
find_package(SDL2_mixer REQUIRED CONFIG)
if(NOT TARGET SDL2::SDL2)
  add_library(SDL2::SDL2 INTERFACE IMPORTED)
  target_link_libraries(SDL2::SDL2 INTERFACE SDL2::SDL2-static)
endif()
add_library(PkgConfig::SDL2_MIXER INTERFACE IMPORTED)
target_link_libraries(PkgConfig::SDL2_MIXER INTERFACE SDL2_mixer::SDL2_mixer-static)
# FreeType's static library inflates its compressed tables with zlib.
target_link_libraries(Freetype::Freetype INTERFACE ZLIB::ZLIB)
# No fontconfig in the browser: the page names its face.
add_library(Fontconfig::Fontconfig INTERFACE IMPORTED)
target_include_directories(Fontconfig::Fontconfig INTERFACE ${CMAKE_SOURCE_DIR}/src/platform/web/no_fontconfig)
