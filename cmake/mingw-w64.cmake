# Cross-builds Pellum's Qt-free core, pellum-cli and the core's tests for 64-bit Windows with
# Debian's mingw-w64 compiler (the POSIX thread model, so that std::thread and std::mutex
# work), and runs what it builds under Wine: `cmake --preset windows`, `make test-windows`.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PELLUM_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PELLUM_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PELLUM_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${PELLUM_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PELLUM_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Linked statically, the programs need none of the compiler's runtime DLLs beside them: they
# run under Wine, or on a Windows machine, as single files.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests and other built programs run under Wine, in a prefix of the build tree's own.
get_filename_component(PELLUM_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PELLUM_SOURCE_ROOT}/scripts/wine-run)
