# What a desktop and the manual need to know of the program, installed with it
# (component kronalt): the desktop file, the icon in every size the icon theme
# asks for, the AppStream metadata and the manual page.

# The version the program prints is the one every piece of metadata carries.
file(STRINGS ${CMAKE_SOURCE_DIR}/app/Version.cpp KRONALT_VERSION_LINE REGEX "KRONALT_VERSION = ")
string(REGEX REPLACE ".*\"([^\"]+)\".*" "\\1" KRONALT_PROGRAM_VERSION "${KRONALT_VERSION_LINE}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/app/Version.cpp ${CMAKE_SOURCE_DIR}/packaging/changelog
  ${CMAKE_SOURCE_DIR}/packaging/kronalt.metainfo.xml.in ${CMAKE_SOURCE_DIR}/packaging/kronalt.1)

# Software centres fetch the screenshots from the project's web home, and the
# AppStream id is that home's domain name reversed; both can only be
# placeholders until the project has a public home of its own.
set(KRONALT_HOMEPAGE "https://kronalt.example.org" CACHE STRING "The project's web home (AppStream)")
set(KRONALT_APP_ID "org.example.kronalt.Kronalt" CACHE STRING "The AppStream component id")

# A release that forgot one of them would describe itself in two versions.
file(READ ${CMAKE_SOURCE_DIR}/packaging/kronalt.metainfo.xml.in KRONALT_METAINFO)
string(REGEX MATCH "<release version=\"([^\"]+)\"" unused "${KRONALT_METAINFO}")
set(metainfo_version "${CMAKE_MATCH_1}")
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog changelog_top LIMIT_COUNT 1)
string(REGEX REPLACE "^[^(]*\\(([^)]+)\\).*" "\\1" changelog_version "${changelog_top}")
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/kronalt.1 man_title REGEX "^\\.TH ")
foreach(where metainfo changelog)
  if(NOT "${${where}_version}" STREQUAL KRONALT_PROGRAM_VERSION)
    message(FATAL_ERROR "packaging: the ${where} says version '${${where}_version}', "
      "app/Version.cpp '${KRONALT_PROGRAM_VERSION}'")
  endif()
endforeach()
if(NOT man_title MATCHES "\"Kronalt ${KRONALT_PROGRAM_VERSION}\"")
  message(FATAL_ERROR "packaging: the manual page's .TH line does not say Kronalt ${KRONALT_PROGRAM_VERSION}")
endif()

set(KRONALT_METAINFO_FILE ${CMAKE_BINARY_DIR}/packaging/${KRONALT_APP_ID}.metainfo.xml)
configure_file(${CMAKE_SOURCE_DIR}/packaging/kronalt.metainfo.xml.in ${KRONALT_METAINFO_FILE} @ONLY)

install(FILES ${CMAKE_SOURCE_DIR}/scripts/kronalt.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT kronalt)
install(FILES ${KRONALT_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT kronalt)

# The program's own three sizes come from its data folder; the others are
# made alongside them by scripts/make-data.py.
foreach(size 16 24 32 48 64 128 256)
  set(icon ${CMAKE_SOURCE_DIR}/data/kronalt-${size}.png)
  if(NOT EXISTS ${icon})
    set(icon ${CMAKE_SOURCE_DIR}/packaging/icons/kronalt-${size}.png)
  endif()
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME kronalt.png COMPONENT kronalt)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/kronalt.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT kronalt)

# Compressed without a name or time stamp, so two builds give the same bytes.
find_program(GZIP gzip REQUIRED)
set(KRONALT_MANPAGE_GZ ${CMAKE_BINARY_DIR}/packaging/kronalt.1.gz)
add_custom_command(OUTPUT ${KRONALT_MANPAGE_GZ}
  COMMAND ${GZIP} -9n -c ${CMAKE_SOURCE_DIR}/packaging/kronalt.1 > ${KRONALT_MANPAGE_GZ}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/kronalt.1
  COMMENT "Compressing the manual page")
add_custom_target(kronalt_manpage ALL DEPENDS ${KRONALT_MANPAGE_GZ})
install(FILES ${KRONALT_MANPAGE_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT kronalt)
