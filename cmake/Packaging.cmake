# The Debian package. In the build folder, after a build:
#
#   cpack -G DEB        ->  yanping_<version>_amd64.deb
#
# It holds what cmake/Install.cmake installs, under /usr, plus the Debian
# documents in /usr/share/doc/yanping: copyright (machine-readable) and
# changelog.gz. Its dependencies are worked out from the executable by
# dpkg-shlibdeps (Debian package dpkg-dev), with the fonts and Qt's Chinese
# translations the program uses added by hand. The executable is stripped;
# every file in the package is owned by root.
#
# Include after cmake/Install.cmake.

if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

set(YANPING_MAINTAINER "The Yanping developers <maintainers@yanping.org>")

# Debian documents, installed with the rest (any install gets them in
# share/doc/yanping). The changelog entry is dated from YANPING_RELEASE_DATE.
execute_process(COMMAND date -u -R -d "${YANPING_RELEASE_DATE} 00:00:00"
  OUTPUT_VARIABLE YANPING_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)
configure_file(${PROJECT_SOURCE_DIR}/data/debian/changelog.in
  ${CMAKE_BINARY_DIR}/install-files/changelog @ONLY)
execute_process(COMMAND gzip -9n -c ${CMAKE_BINARY_DIR}/install-files/changelog
  OUTPUT_FILE ${CMAKE_BINARY_DIR}/install-files/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright
              ${CMAKE_BINARY_DIR}/install-files/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME yanping)
set(CPACK_PACKAGE_VENDOR "${YANPING_DEVELOPER_NAME}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${YANPING_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Chinese divination with twelve marked pieces")
set(CPACK_PACKAGE_DESCRIPTION
  "衍枰占卜 (Yanping) is a divination program with Chinese texts. A throw of
twelve pieces, four each marked 上, 中 and 下, gives three counts from 0 to
4; each of the 125 combinations leads to one reading: a name, a verdict, a
four-line verse and an explanation for the common questions of wealth,
marriage, health, travel, disputes and lost things.

The pieces are either thrown by hand, and the counts picked from a list, or
thrown on screen by the program until the prayer is ended.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_THREADS 1)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # yanping_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${YANPING_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${YANPING_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Song and Kai faces the texts are set in: the AR PL faces for Simplified
# text; for Traditional text Noto Serif CJK TC/HK (and Noto Sans CJK TC/HK for
# the Chinese of menus and dialogs) and TW-Kai, which follow Taiwan's and Hong
# Kong's standard forms and have 説 鋭 閲 藴, which the AR PL faces lack.
# WenQuanYi Micro Hei stays the sans face a Simplified session's desktop font
# takes its Chinese from. Then Qt's own dialogs in Chinese, and the
# dictionaries of the Traditional-character conversion (the library itself,
# libopencc1.1, comes in through shlibdeps).
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-arphic-uming, fonts-arphic-ukai, fonts-noto-cjk, fonts-cns11643-kai, fonts-wqy-microhei, qt6-translations-l10n, libopencc-data")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# The About box's 系统信息 button starts the first of these it finds.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "hardinfo | kinfocenter | gnome-system-monitor")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
