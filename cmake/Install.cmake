# Install rules. `cmake --install build --prefix P` lays out
#
#   P/lib/yanping/              the program folder as the build has it:
#                               yanping with god/, picture/, translations/
#                               and its font configuration fonts.conf beside it
#   P/bin/yanping               a relative link to ../lib/yanping/yanping
#   P/share/applications/       the menu entry           <app id>.desktop
#   P/share/icons/hicolor/      the icon, 16 to 256 px   <size>x<size>/apps/<app id>.png
#   P/share/metainfo/           the software-centre entry <app id>.metainfo.xml
#   P/share/man/man1/yanping.1.gz
#
# The program finds everything it reads beside its own executable, so the
# folder is installed whole and bin/ only links to it. The Debian package
# (cmake/Packaging.cmake) is made from these same rules with the prefix /usr.
# The test "install" (label install) installs into a temporary prefix and
# checks the result with tools/check-install.sh.

include(GNUInstallDirs)

# One reverse-DNS ID names the menu entry, the icon and the metainfo, and is
# what the program gives the window system as its desktop file name.
set(YANPING_APP_ID org.yanping.Yanping)
set(YANPING_HOMEPAGE https://yanping.org/)
set(YANPING_DEVELOPER_NAME "The Yanping developers")
# The day the version in project() was released: change the two together.
set(YANPING_RELEASE_DATE 2026-12-07)

set(YANPING_INSTALL_PROGRAMDIR lib/yanping CACHE STRING
  "Folder under the prefix for the program with its god/ and picture/ folders")

# Installed files keep the usual modes whatever the umask of the one who builds.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(_yanping_staged ${CMAKE_BINARY_DIR}/install-files)
file(MAKE_DIRECTORY ${_yanping_staged})

# The program folder. The program links only system libraries (its own
# are static), so the installed copy needs no library search path; without
# this it would carry the one qt_standard_project_setup() sets up
# ($ORIGIN/../lib), which means nothing from lib/yanping/.
set_target_properties(yanping PROPERTIES INSTALL_RPATH "")
install(TARGETS yanping RUNTIME DESTINATION ${YANPING_INSTALL_PROGRAMDIR})
if(CMAKE_STRIP)
  # A stripping install (cmake --install --strip, or CPack) also drops the
  # compiler's .comment and .note sections, as Debian's own packages do.
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${YANPING_INSTALL_PROGRAMDIR}/$<TARGET_FILE_NAME:yanping>\")
  endif()")
endif()
install(DIRECTORY ${PROGRAM_DIR}/god ${PROGRAM_DIR}/picture
  DESTINATION ${YANPING_INSTALL_PROGRAMDIR})
install(FILES ${YANPING_QM_FILES} DESTINATION ${YANPING_INSTALL_PROGRAMDIR}/translations)
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  install(FILES ${PROGRAM_DIR}/fonts.conf DESTINATION ${YANPING_INSTALL_PROGRAMDIR})
endif()

# bin/yanping: a relative link made here and installed as a link.
file(RELATIVE_PATH _yanping_link_target
  /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${YANPING_INSTALL_PROGRAMDIR}/yanping)
file(MAKE_DIRECTORY ${_yanping_staged}/bin)
file(CREATE_LINK ${_yanping_link_target} ${_yanping_staged}/bin/yanping SYMBOLIC)
install(FILES ${_yanping_staged}/bin/yanping DESTINATION ${CMAKE_INSTALL_BINDIR})

# Menu entry, icons, metainfo.
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/${YANPING_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(_size 16 24 32 48 64 128 256)
  # Drawn by tools/pictures (--out-icons) from the window icon's drawing.
  install(FILES ${PROJECT_SOURCE_DIR}/data/icons/yanping-${_size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
    RENAME ${YANPING_APP_ID}.png)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/data/desktop/${YANPING_APP_ID}.metainfo.xml.in
  ${_yanping_staged}/${YANPING_APP_ID}.metainfo.xml @ONLY)
install(FILES ${_yanping_staged}/${YANPING_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual page, compressed the way Debian wants it (gzip -9n: no name, no
# time) when the build system is generated; a change to it regenerates.
find_program(YANPING_GZIP gzip)
configure_file(${PROJECT_SOURCE_DIR}/data/man/yanping.1 ${_yanping_staged}/yanping.1 COPYONLY)
if(YANPING_GZIP)
  execute_process(COMMAND ${YANPING_GZIP} -9n -c ${_yanping_staged}/yanping.1
    OUTPUT_FILE ${_yanping_staged}/yanping.1.gz COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${_yanping_staged}/yanping.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  install(FILES ${_yanping_staged}/yanping.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

if(YANPING_BUILD_TESTS)
  add_test(NAME install
    COMMAND bash ${PROJECT_SOURCE_DIR}/tools/check-install.sh
            ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR} ${PROJECT_SOURCE_DIR} ${YANPING_APP_ID}
            ${PROJECT_VERSION} ${YANPING_INSTALL_PROGRAMDIR})
  set_tests_properties(install PROPERTIES LABELS install TIMEOUT 300)
endif()
