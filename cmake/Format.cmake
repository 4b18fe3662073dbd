# The project's formatting, with clang-format 14 and the tree's .clang-format:
#
#   cmake --build build --target format         formats every C++ file in place
#   cmake --build build --target check-format   fails on any file it would change
#
# The files are the C++ sources and headers under the project's own folders;
# the list is read again at every build.

find_program(YANPING_CLANG_FORMAT NAMES clang-format-14 clang-format DOC "clang-format, version 14")
if(NOT YANPING_CLANG_FORMAT)
  return()
endif()

set(format_folders app benchmarks divination formats fuzz pages platform shell tests tools)
set(format_globs)
foreach(folder IN LISTS format_folders)
  list(APPEND format_globs ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.h)
endforeach()
file(GLOB_RECURSE format_files CONFIGURE_DEPENDS ${format_globs})

add_custom_target(format
  COMMAND ${YANPING_CLANG_FORMAT} -i ${format_files}
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "Formatting the C++ files with clang-format"
  VERBATIM)
add_custom_target(check-format
  COMMAND ${YANPING_CLANG_FORMAT} --dry-run --Werror ${format_files}
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "Checking the C++ files' formatting with clang-format"
  VERBATIM)
