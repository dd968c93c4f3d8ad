# What the program says about itself: version, licence, desktop identity, and the
# versions of the libraries it is built with (the about box, --version, the package).
set(VERMEO_LICENCE "GPL-3.0-or-later")
set(VERMEO_LICENCE_TEXT "GNU GPL, version 3 ou ultérieure")
set(VERMEO_APP_ID "org.vermeo.Vermeo")
# The date of this version, in the AppStream release and the man pages.
set(VERMEO_RELEASE_DATE "2026-12-08")

find_package(PkgConfig REQUIRED)
pkg_check_modules(VERMEO_INFO_JPEG QUIET libjpeg)
pkg_check_modules(VERMEO_INFO_IMAGEQUANT QUIET imagequant)
pkg_check_modules(VERMEO_INFO_SANE QUIET sane-backends)
# giflib has no pkg-config file: its header gives the version.
set(VERMEO_INFO_GIF_VERSION "")
find_path(VERMEO_INFO_GIF_INCLUDE gif_lib.h)
if(VERMEO_INFO_GIF_INCLUDE)
  file(STRINGS ${VERMEO_INFO_GIF_INCLUDE}/gif_lib.h gif_defines REGEX "^#define GIFLIB_(MAJOR|MINOR|RELEASE) ")
  foreach(part MAJOR MINOR RELEASE)
    string(REGEX REPLACE ".*GIFLIB_${part} ([0-9]+).*" "\\1" gif_${part} "${gif_defines}")
  endforeach()
  set(VERMEO_INFO_GIF_VERSION "${gif_MAJOR}.${gif_MINOR}.${gif_RELEASE}")
endif()

set(VERMEO_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/VermeoBuild.h.in ${VERMEO_GENERATED_DIR}/VermeoBuild.h @ONLY)
