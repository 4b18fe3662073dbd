# Writes a dictionary of data/opencc/ in the form OpenCC reads: one
# "key<TAB>value" per line. The source gives every entry a reason, in a
# third column that starts with '#', and may have comment lines; both are
# left out. An entry without its reason stops the build.
#   cmake -DIN=source.txt -DOUT=program/opencc/name.txt -P OpenccDictionary.cmake
file(STRINGS "${IN}" _lines ENCODING UTF-8)
set(_out "")
set(_number 0)
foreach(_line IN LISTS _lines)
  math(EXPR _number "${_number} + 1")
  if(_line STREQUAL "" OR _line MATCHES "^#")
    continue()
  endif()
  if(NOT _line MATCHES "^([^\t#]+\t[^\t#]+)\t# [^\t]+$")
    message(FATAL_ERROR "${IN}:${_number}: not \"key<TAB>value<TAB># reason\": ${_line}")
  endif()
  string(APPEND _out "${CMAKE_MATCH_1}\n")
endforeach()
file(WRITE "${OUT}" "${_out}")
