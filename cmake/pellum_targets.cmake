# How every Pellum target is built and what it may include.

# The fit, the chart and the converters are compared bit for bit, so no build may fuse a
# multiply and an add behind our back: this one flag goes to every target, tests included.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-ffp-contract=off)
endif()

# Warnings for Pellum's own targets; -Werror only where we know the compiler's warnings.
add_library(pellum_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(pellum_warnings INTERFACE -Wall -Wextra -Wpedantic
                                                   $<$<BOOL:${PELLUM_WERROR}>:-Werror>)
elseif(MSVC)
  target_compile_options(pellum_warnings INTERFACE /W4)
endif()

# Puts exactly one source folder on the include path of target (as "folder/name.h"), so that
# a target sees its own headers and those of the targets it links, and nothing else: a core
# file that includes "app/..." does not build. The folder is reached through a link in the
# build tree whose parent holds that folder alone.
function(pellum_folder_includes target folder scope)
  string(REPLACE "/" "_" key "${folder}")
  set(root ${PROJECT_BINARY_DIR}/include/${key})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT EXISTS ${root}/${folder})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} ${scope} ${root})
endfunction()

# A folder of the program: an object library over its sources, with its folder on its
# include path and the targets it may use.
function(pellum_add_layer target folder)
  cmake_parse_arguments(ARG "" "" "SOURCES;USES" ${ARGN})
  add_library(${target} OBJECT ${ARG_SOURCES})
  pellum_folder_includes(${target} ${folder} PUBLIC)
  target_link_libraries(${target} PUBLIC ${ARG_USES} PRIVATE pellum_warnings)
endfunction()
