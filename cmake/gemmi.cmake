# gemmi (Debian's gemmi-dev), used header-only by refs/: the space groups with their
# symmetry operations and systematic absences, and the International Tables X-ray form factors. Those headers
# include nothing but the C++ standard library, so the Windows cross build can use the build
# machine's copy: they are put on the include path through a folder of the build tree that
# holds gemmi's folder alone, never the system include folder with the other libraries'
# Linux headers beside it. Set PELLUM_GEMMI_INCLUDE_DIR to the folder holding gemmi/ when
# it is elsewhere.
find_path(PELLUM_GEMMI_INCLUDE_DIR gemmi/symmetry.hpp
          PATHS /usr/include /usr/local/include
          NO_CMAKE_FIND_ROOT_PATH
          DOC "The folder that holds gemmi/symmetry.hpp")
if(NOT PELLUM_GEMMI_INCLUDE_DIR)
  message(FATAL_ERROR "gemmi's headers (gemmi/symmetry.hpp) were not found: install gemmi-dev "
                      "(scripts/install-deps build) or set PELLUM_GEMMI_INCLUDE_DIR")
endif()

set(pellum_gemmi_root ${PROJECT_BINARY_DIR}/include/gemmi_headers)
file(MAKE_DIRECTORY ${pellum_gemmi_root})
if(NOT EXISTS ${pellum_gemmi_root}/gemmi)
  file(CREATE_LINK ${PELLUM_GEMMI_INCLUDE_DIR}/gemmi ${pellum_gemmi_root}/gemmi SYMBOLIC)
endif()
add_library(pellum_gemmi INTERFACE)
# SYSTEM: gemmi's own code is not held to Pellum's warnings.
target_include_directories(pellum_gemmi SYSTEM INTERFACE ${pellum_gemmi_root})
