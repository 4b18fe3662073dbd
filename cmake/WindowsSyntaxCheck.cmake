# A check that the program's Windows-only code compiles, run from a Linux
# build as a CTest test (label "windows").
#
#   yanping_add_windows_syntax_check(TARGETS target... [EXTRA file...])
#
# Every .cpp source of the TARGETS, and every EXTRA file, is compiled for
# Windows in syntax-only mode by Debian's MinGW-w64 cross compiler against
# the Qt 6 headers installed for Linux (tools/check-windows-syntax.sh). Each
# source gets the include folders, definitions and C++ standard of its own
# target; EXTRA files get those of the first target. EXTRA names the sources
# that the targets take only on Windows (.cpp), and may name Windows
# resource scripts (.rc), which the cross resource compiler then reads.
# Relative EXTRA paths are taken from the calling folder.
#
# The source lists are read from the targets' SOURCES when the build system
# is generated, so the check follows them as they change. The list for each
# configuration goes to windows-syntax-check/<config>/sources.txt in the
# calling folder's build folder.

function(yanping_add_windows_syntax_check)
  cmake_parse_arguments(PARSE_ARGV 0 ARG "" "" "TARGETS;EXTRA")
  if(NOT ARG_TARGETS)
    message(FATAL_ERROR "yanping_add_windows_syntax_check: no TARGETS given")
  endif()
  if(WIN32)
    return() # a Windows build compiles that code for real
  endif()

  # One block per target: its source folder, standard, include folders,
  # definitions and sources, one "key value" line each.
  set(content "")
  foreach(tgt IN LISTS ARG_TARGETS)
    if(NOT TARGET ${tgt})
      message(FATAL_ERROR "yanping_add_windows_syntax_check: no target ${tgt}")
    endif()
    set(incs "$<TARGET_PROPERTY:${tgt},INCLUDE_DIRECTORIES>")
    set(defs "$<TARGET_PROPERTY:${tgt},COMPILE_DEFINITIONS>")
    set(srcs "$<TARGET_PROPERTY:${tgt},SOURCES>")
    string(APPEND content
      "target ${tgt}\n"
      "dir $<TARGET_PROPERTY:${tgt},SOURCE_DIR>\n"
      "std $<TARGET_PROPERTY:${tgt},CXX_STANDARD>\n"
      "$<$<BOOL:${incs}>:include $<JOIN:${incs},\ninclude >\n>"
      "$<$<BOOL:${defs}>:define $<JOIN:${defs},\ndefine >\n>"
      "$<$<BOOL:${srcs}>:source $<JOIN:${srcs},\nsource >\n>")
  endforeach()
  if(ARG_EXTRA)
    list(GET ARG_TARGETS 0 first)
    string(APPEND content "extra ${first}\n")
    foreach(file IN LISTS ARG_EXTRA)
      get_filename_component(file "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
      string(APPEND content "source ${file}\n")
    endforeach()
  endif()

  set(list_file "${CMAKE_CURRENT_BINARY_DIR}/windows-syntax-check/$<CONFIG>/sources.txt")
  file(GENERATE OUTPUT "${list_file}" CONTENT "${content}")

  add_test(NAME windows_syntax
    COMMAND bash "${PROJECT_SOURCE_DIR}/tools/check-windows-syntax.sh"
            "${list_file}" "${PROJECT_SOURCE_DIR}" "${PROJECT_BINARY_DIR}")
  set_tests_properties(windows_syntax PROPERTIES LABELS windows TIMEOUT 900)
endfunction()
