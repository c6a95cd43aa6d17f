# Turns an exports list (one name per line, '#' comments) into a linker
# version script that keeps those names global and hides everything else.
include(${CMAKE_CURRENT_LIST_DIR}/ExportRows.cmake)
orvo_export_rows(${LIST} rows want)
set(names "")
foreach(name IN LISTS want)
  string(APPEND names "    ${name};\n")
endforeach()
if(names STREQUAL "")
  file(WRITE ${OUT} "{\n  local: *;\n};\n")
else()
  file(WRITE ${OUT} "{\n  global:\n${names}  local: *;\n};\n")
endif()
