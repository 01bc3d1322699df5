# The sources of the level-set library and of the game's core, by folder. The top-level
# build and the portable replay check (tests/portable) both build from these lists.
# Expects ZORBO_ROOT to name the source tree's top.

# The level-set library.
file(GLOB ZORBO_LEVEL_SOURCES CONFIGURE_DEPENDS ${ZORBO_ROOT}/level/*.cpp)
list(APPEND ZORBO_LEVEL_SOURCES ${ZORBO_ROOT}/media/RegularFile.cpp ${ZORBO_ROOT}/media/AtomicFile.cpp
  ${ZORBO_ROOT}/media/FileLock.cpp ${ZORBO_ROOT}/media/UserFolders.cpp)

# Game logic, recording and the media layer, without the SDL side of the platform seam.
file(GLOB ZORBO_CORE_SOURCES CONFIGURE_DEPENDS
  ${ZORBO_ROOT}/media/*.cpp
  ${ZORBO_ROOT}/game/*.cpp
  ${ZORBO_ROOT}/world/*.cpp
  ${ZORBO_ROOT}/player/*.cpp
  ${ZORBO_ROOT}/enemies/*.cpp
  ${ZORBO_ROOT}/record/*.cpp)
list(FILTER ZORBO_CORE_SOURCES EXCLUDE REGEX ".*/media/Sdl[A-Za-z]*\\.cpp$")
list(FILTER ZORBO_CORE_SOURCES EXCLUDE REGEX ".*/media/(RegularFile|AtomicFile|FileLock|UserFolders)\\.cpp$")
# Module finding (built with the install paths) and the sound module's body.
list(FILTER ZORBO_CORE_SOURCES EXCLUDE REGEX ".*/media/(ModuleFile|SoundModule)\\.cpp$")

# The core's only readers that need SDL2, SDL2_ttf and fontconfig: picture files and fonts.
set(ZORBO_CORE_SDL_SOURCES ${ZORBO_ROOT}/media/BitmapFile.cpp ${ZORBO_ROOT}/media/Font.cpp)

# Every target that runs the game's rules: results must not depend on the compiler or
# the processor, so no multiply-add is fused (recordings replay to the same state hash
# with gcc and clang, on amd64 and arm64). -ffast-math is never used, for the same reason.
set(ZORBO_DETERMINISM_OPTIONS -ffp-contract=off)
