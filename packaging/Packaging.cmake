# The Debian packages (make package): kronalt, libzam1 and libzam-dev, made by
# CPack from the install rules' three components.
if(NOT TARGET kronalt)
  message(FATAL_ERROR "KRONALT_PACKAGE needs the whole program: leave KRONALT_HEADLESS_ONLY off")
endif()

set(KRONALT_MAINTAINER "The Kronalt developers <kronalt@example.org>"
  CACHE STRING "The packages' Maintainer field")

# Each package carries the licence as its copyright file and the changelog,
# in the doc folder Debian gives every package.
set(KRONALT_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${KRONALT_CHANGELOG_GZ}
  COMMAND ${GZIP} -9n -c ${CMAKE_SOURCE_DIR}/packaging/changelog > ${KRONALT_CHANGELOG_GZ}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog
  COMMENT "Compressing the Debian changelog")
add_custom_target(kronalt_changelog ALL DEPENDS ${KRONALT_CHANGELOG_GZ})
# The settings page, which the manual page points to for every key.
set(KRONALT_SETTINGS_GZ ${CMAKE_BINARY_DIR}/packaging/settings.md.gz)
add_custom_command(OUTPUT ${KRONALT_SETTINGS_GZ}
  COMMAND ${GZIP} -9n -c ${CMAKE_SOURCE_DIR}/docs/settings.md > ${KRONALT_SETTINGS_GZ}
  DEPENDS ${CMAKE_SOURCE_DIR}/docs/settings.md
  COMMENT "Compressing the settings page")
add_custom_target(kronalt_settings_doc ALL DEPENDS ${KRONALT_SETTINGS_GZ})
install(FILES ${KRONALT_SETTINGS_GZ} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kronalt COMPONENT kronalt)
foreach(package kronalt libzam1 libzam-dev)
  install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
    RENAME copyright COMPONENT ${package})
  install(FILES ${KRONALT_CHANGELOG_GZ} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
    COMPONENT ${package})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kronalt)
set(CPACK_PACKAGE_VENDOR "The Kronalt developers")
set(CPACK_PACKAGE_VERSION ${KRONALT_PROGRAM_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
# Folders the packages create are the system's usual 0755, whatever the umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL kronalt libzam1 libzam-dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KRONALT_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SOURCE kronalt)
# Dependencies on other packages come from what the binaries link, with the
# versions their libraries' shlibs files ask for, never from a typed list.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program links libzam1's libraries, which the system does not know yet:
# dpkg-shlibdeps finds them in the build, and the dependency on libzam1 is
# named below, with the exact version built beside it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/lib)
set(exact "(= ${KRONALT_PROGRAM_VERSION})")
# A shlibs file for the package that holds shared libraries (libzam1), so
# what is built on them depends on this version or a later one.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

set(CPACK_DEBIAN_KRONALT_PACKAGE_NAME kronalt)
set(CPACK_DEBIAN_KRONALT_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_KRONALT_PACKAGE_DEPENDS "libzam1 ${exact}")
# The browser for the product page and the editor for the settings file; the
# toolkit's own translations, for its stock buttons in a translated program.
set(CPACK_DEBIAN_KRONALT_PACKAGE_RECOMMENDS "xdg-utils, wx3.2-i18n")
set(CPACK_DEBIAN_KRONALT_DESCRIPTION "countdown timer with interval chimes
Kronalt counts down a length set in minutes and marks the end with a sound.
If you like, a chime sounds at every interval on the way, or at random times.
The elapsed and remaining time show in the window title, the status line and
a progress bar; a countdown can be paused, count on past zero or run to a
clock time, and named presets fill in length, interval and sounds at once.
Without a display the countdown runs in the terminal.")

set(CPACK_DEBIAN_LIBZAM1_PACKAGE_NAME libzam1)
set(CPACK_DEBIAN_LIBZAM1_PACKAGE_SECTION libs)
# libzamcore loads libcurl only when it first reads a web page, so
# dpkg-shlibdeps cannot see it: the one dependency named by hand (the version
# that knows CURLOPT_PROTOCOLS_STR).
set(CPACK_DEBIAN_LIBZAM1_PACKAGE_DEPENDS "libcurl4 (>= 7.85.0)")
# The loader's cache is brought up to date by libc's trigger; CPack would
# otherwise write maintainer scripts that call ldconfig themselves, which it
# leaves out when scripts of those names are named here (there are none).
set(CPACK_DEBIAN_LIBZAM1_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/packaging/triggers
  ${CMAKE_BINARY_DIR}/packaging/no-script/postinst ${CMAKE_BINARY_DIR}/packaging/no-script/postrm)
set(CPACK_DEBIAN_LIBZAM1_DESCRIPTION "Kronalt's general-purpose C++ class library
The zam library is the class library Kronalt is built on. libzamcore holds a
text buffer, lists, an INI settings store, a log, an XML scanner, tree and
writer, a date-time value and typed values; libzamgraph adds window controls
and a configuration dialog built on wxWidgets.
.
This package contains the shared libraries.")

set(CPACK_DEBIAN_LIBZAM-DEV_PACKAGE_NAME libzam-dev)
set(CPACK_DEBIAN_LIBZAM-DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_LIBZAM-DEV_PACKAGE_SHLIBDEPS OFF)
# zamgraph's headers include wxWidgets' own.
set(CPACK_DEBIAN_LIBZAM-DEV_PACKAGE_DEPENDS "libzam1 ${exact}, libwxgtk3.2-dev")
set(CPACK_DEBIAN_LIBZAM-DEV_DESCRIPTION "Kronalt's general-purpose C++ class library (development files)
The zam library is the class library Kronalt is built on. libzamcore holds a
text buffer, lists, an INI settings store, a log, an XML scanner, tree and
writer, a date-time value and typed values; libzamgraph adds window controls
and a configuration dialog built on wxWidgets.
.
This package contains the headers, a CMake package (find_package(Zam)) and a
pkg-config file (zam).")

include(CPack)
