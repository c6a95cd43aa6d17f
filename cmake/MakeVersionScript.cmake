# Turns an exports list (one name per line, '#' comments) into a linker
# version script that keeps those names global and hides everything else.
file(STRINGS ${LIST} lines)
set(names "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "#.*" "" line "${line}")
  string(STRIP "${line}" line)
  if(line STREQUAL "")
    continue()
  endif()
  # Data-file rows may carry more columns (tab separated); the name is the first.
  string(REGEX REPLACE "[ \t].*" "" line "${line}")
  string(APPEND names "    ${line};\n")
endforeach()
if(names STREQUAL "")
  file(WRITE ${OUT} "{\n  local: *;\n};\n")
else()
  file(WRITE ${OUT} "{\n  global:\n${names}  local: *;\n};\n")
endif()
