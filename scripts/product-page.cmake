# Makes the product page the program opens (Help > View more Products, the
# About box, the reminder after start): the README as an HTML page in the
# data folder, with the two pictures it shows beside it.
# cmake -DCMARK=... -DSOURCE=<repository> -DOUT=<share/kronalt> -P product-page.cmake
foreach(var CMARK SOURCE OUT)
  if(NOT ${var})
    message(FATAL_ERROR "product-page.cmake: ${var} is not set")
  endif()
endforeach()

execute_process(
  COMMAND ${CMARK} --extension table --to html ${SOURCE}/README.md
  OUTPUT_VARIABLE body
  RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "product-page.cmake: cmark-gfm failed on README.md")
endif()

file(READ ${SOURCE}/packaging/product-page.html.in page)
string(REPLACE "@BODY@" "${body}" page "${page}")
file(MAKE_DIRECTORY ${OUT}/docs)
file(WRITE ${OUT}/kronalt.html.tmp "${page}")
file(RENAME ${OUT}/kronalt.html.tmp ${OUT}/kronalt.html)
foreach(picture screenshot.png config-editor.png)
  file(COPY ${SOURCE}/docs/${picture} DESTINATION ${OUT}/docs)
endforeach()
