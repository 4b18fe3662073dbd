# Stores the readable data sources into the program folder.
#   data/god/<name>.html        -> program/god/<name>.god       (document, shift 2)
#   data/god/xwk/<key>.txt      -> program/god/xwk/<key>.god    (reading, shift 3)
#   data/picture/*              -> program/picture/*            (copied)

set(_stored)
file(GLOB _documents CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/god/*.html)
file(GLOB _readings CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/god/xwk/*.txt)

foreach(_src IN LISTS _documents)
  get_filename_component(_stem ${_src} NAME_WE)
  set(_out ${PROGRAM_DIR}/god/${_stem}.god)
  add_custom_command(OUTPUT ${_out}
    COMMAND godtool encode --shift 2 ${_src} ${_out}
    DEPENDS godtool ${_src} VERBATIM)
  list(APPEND _stored ${_out})
endforeach()

foreach(_src IN LISTS _readings)
  get_filename_component(_stem ${_src} NAME_WE)
  set(_out ${PROGRAM_DIR}/god/xwk/${_stem}.god)
  add_custom_command(OUTPUT ${_out}
    COMMAND godtool encode --shift 3 ${_src} ${_out}
    DEPENDS godtool ${_src} VERBATIM)
  list(APPEND _stored ${_out})
endforeach()

file(GLOB _pictures CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/picture/*.wmf
  ${CMAKE_SOURCE_DIR}/data/picture/*.gif ${CMAKE_SOURCE_DIR}/data/picture/*.jpg)
foreach(_src IN LISTS _pictures)
  get_filename_component(_name ${_src} NAME)
  set(_out ${PROGRAM_DIR}/picture/${_name})
  add_custom_command(OUTPUT ${_out}
    COMMAND ${CMAKE_COMMAND} -E copy ${_src} ${_out}
    DEPENDS ${_src} VERBATIM)
  list(APPEND _stored ${_out})
endforeach()

add_custom_target(programdata ALL DEPENDS ${_stored})
add_dependencies(yanping programdata)

# The program's font configuration (Linux), beside the executable.
set(_fontconf ${PROGRAM_DIR}/fonts.conf)
add_custom_command(OUTPUT ${_fontconf}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/data/fontconfig/fonts.conf ${_fontconf}
  DEPENDS ${CMAKE_SOURCE_DIR}/data/fontconfig/fonts.conf VERBATIM)
add_custom_target(programfontconfig ALL DEPENDS ${_fontconf})
add_dependencies(yanping programfontconfig)

# The converter's configurations and the program's dictionary (Traditional
# sessions), in the program folder's opencc/: configurations as written,
# dictionaries without their reasons (cmake/OpenccDictionary.cmake).
set(_opencc)
file(GLOB _opencc_configs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/opencc/*.json)
foreach(_src IN LISTS _opencc_configs)
  get_filename_component(_name ${_src} NAME)
  set(_out ${PROGRAM_DIR}/opencc/${_name})
  add_custom_command(OUTPUT ${_out}
    COMMAND ${CMAKE_COMMAND} -E copy ${_src} ${_out}
    DEPENDS ${_src} VERBATIM)
  list(APPEND _opencc ${_out})
endforeach()
file(GLOB _opencc_dictionaries CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/opencc/*.txt)
foreach(_src IN LISTS _opencc_dictionaries)
  get_filename_component(_name ${_src} NAME)
  set(_out ${PROGRAM_DIR}/opencc/${_name})
  add_custom_command(OUTPUT ${_out}
    COMMAND ${CMAKE_COMMAND} -DIN=${_src} -DOUT=${_out} -P ${CMAKE_SOURCE_DIR}/cmake/OpenccDictionary.cmake
    DEPENDS ${_src} ${CMAKE_SOURCE_DIR}/cmake/OpenccDictionary.cmake VERBATIM)
  list(APPEND _opencc ${_out})
endforeach()
add_custom_target(programopencc ALL DEPENDS ${_opencc})
add_dependencies(yanping programopencc)
add_dependencies(programdata programopencc)
