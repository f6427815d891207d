# GoogleTest for the Windows cross build: there is no mingw-w64 GoogleTest package, so it is
# built here from the sources Debian's libgtest-dev ships, with the same compiler.
set(PELLUM_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources")
if(NOT EXISTS ${PELLUM_GTEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest's sources are not in ${PELLUM_GTEST_SOURCE_DIR} "
                      "(Debian's libgtest-dev puts them there)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
add_subdirectory(${PELLUM_GTEST_SOURCE_DIR} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
