# System libraries, all from Debian 12 packages installed by scripts/setup.sh.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)

pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(SDL2_MIXER REQUIRED IMPORTED_TARGET SDL2_mixer)
pkg_check_modules(EPOXY REQUIRED IMPORTED_TARGET epoxy)
pkg_check_modules(EGL REQUIRED IMPORTED_TARGET egl)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(ASSIMP REQUIRED IMPORTED_TARGET assimp)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)

# stb and Dear ImGui ship as static archives with a pkg-config file each.
find_path(STB_INCLUDE_DIR stb_image.h PATH_SUFFIXES stb REQUIRED)
find_path(IMGUI_INCLUDE_DIR imgui.h PATH_SUFFIXES imgui REQUIRED)
find_library(IMGUI_LIBRARY imgui REQUIRED)
find_library(STB_LIBRARY NAMES libstb.a stb REQUIRED)
add_library(lvx_imgui INTERFACE)
target_include_directories(lvx_imgui SYSTEM INTERFACE ${IMGUI_INCLUDE_DIR} ${IMGUI_INCLUDE_DIR}/backends)
target_link_libraries(lvx_imgui INTERFACE ${IMGUI_LIBRARY} ${STB_LIBRARY} PkgConfig::SDL2 PkgConfig::EPOXY)
add_library(lvx_stb INTERFACE)
target_include_directories(lvx_stb SYSTEM INTERFACE ${STB_INCLUDE_DIR})
