# The program's own texts in Traditional Chinese, translated by hand:
#   translations/yanping_zh_TW.ts   Taiwan (and any other Hant locale)
#   translations/yanping_zh_HK.ts   Hong Kong and Macau
# lrelease makes them into program/translations/yanping_zh_*.qm at build
# time. After changing a text in the code, maintainers run
#   cmake --build build --target update_translations
# (lupdate over the program's sources into the two .ts files) and translate
# what it marks unfinished; the test "translations" fails until every entry
# is finished and none is left over.

set(YANPING_TS_FILES
  ${PROJECT_SOURCE_DIR}/translations/yanping_zh_TW.ts
  ${PROJECT_SOURCE_DIR}/translations/yanping_zh_HK.ts)
set(_translated_sources)
foreach(_layer platform formats divination pages shell app)
  file(GLOB_RECURSE _layer_sources CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/${_layer}/*.cpp ${PROJECT_SOURCE_DIR}/${_layer}/*.h)
  list(APPEND _translated_sources ${_layer_sources})
endforeach()

set_source_files_properties(${YANPING_TS_FILES} PROPERTIES OUTPUT_LOCATION ${PROGRAM_DIR}/translations)
# No source locations in the .ts files: they would change with every edit
# of the code around a text.
qt_add_translations(yanping
  TS_FILES ${YANPING_TS_FILES}
  SOURCES ${_translated_sources}
  LUPDATE_OPTIONS -locations none -no-obsolete
  QM_FILES_OUTPUT_VARIABLE YANPING_QM_FILES)

if(YANPING_BUILD_TESTS)
  set(_source_list ${CMAKE_BINARY_DIR}/translations/sources.lst)
  list(JOIN _translated_sources "\n" _source_lines)
  file(WRITE ${_source_list} "${_source_lines}\n")
  add_test(NAME translations
    COMMAND bash ${PROJECT_SOURCE_DIR}/tools/check-translations.sh $<TARGET_FILE:Qt6::lupdate>
            ${_source_list} ${CMAKE_BINARY_DIR}/translations/check ${YANPING_TS_FILES})
  set_tests_properties(translations PROPERTIES LABELS unit TIMEOUT 120)
endif()
