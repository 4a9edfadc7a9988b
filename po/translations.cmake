# The translations: each po/LANG.po is checked and compiled by msgfmt into
# share/locale/LANG/LC_MESSAGES/kronalt.mo, in the build tree (laid out like the
# install tree, so the program finds them from where it runs) and installed
# the same way. `make pot` writes po/kronalt.pot anew from the sources.
find_program(MSGFMT msgfmt REQUIRED)
file(GLOB KRONALT_PO_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/po/*.po)
set(KRONALT_MO_FILES)
foreach(po ${KRONALT_PO_FILES})
  get_filename_component(lang ${po} NAME_WE)
  set(folder ${CMAKE_BINARY_DIR}/share/locale/${lang}/LC_MESSAGES)
  add_custom_command(OUTPUT ${folder}/kronalt.mo
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${MSGFMT} --check -o ${folder}/kronalt.mo ${po}
    DEPENDS ${po}
    COMMENT "Compiling the ${lang} translation")
  list(APPEND KRONALT_MO_FILES ${folder}/kronalt.mo)
  install(FILES ${folder}/kronalt.mo DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/${lang}/LC_MESSAGES
    COMPONENT kronalt)
endforeach()
add_custom_target(kronalt_translations ALL DEPENDS ${KRONALT_MO_FILES})
add_custom_target(pot COMMAND sh ${CMAKE_SOURCE_DIR}/scripts/update-pot.sh
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} COMMENT "Writing po/kronalt.pot from the sources")
