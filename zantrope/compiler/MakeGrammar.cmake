# Writes the grammar that bison reads: GRAMMAR with its token marker line
# replaced by one %token line per row of TOKENS (Tokens.def), so the
# terminals keep the codes of the one token list.
#   cmake -DGRAMMAR=<Grammar.y> -DTOKENS=<Tokens.def> -DOUT=<file> -P MakeGrammar.cmake
file(STRINGS "${TOKENS}" rows REGEX "^ZANTROPE_TOKEN\\(")
set(declarations "")
set(count 0)
foreach(row IN LISTS rows)
  if(NOT row MATCHES "^ZANTROPE_TOKEN\\(([A-Za-z_][A-Za-z0-9_]*), *([0-9]+)\\)$")
    message(FATAL_ERROR "${TOKENS}: cannot read the row '${row}'")
  endif()
  string(APPEND declarations "%token ${CMAKE_MATCH_1} ${CMAKE_MATCH_2}\n")
  math(EXPR count "${count} + 1")
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${TOKENS}: no token rows")
endif()

file(READ "${GRAMMAR}" grammar)
set(marker "/* @token declarations@ */\n")
string(FIND "${grammar}" "${marker}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${GRAMMAR}: the token marker line is missing")
endif()
string(REPLACE "${marker}" "${declarations}" grammar "${grammar}")
file(WRITE "${OUT}" "${grammar}")
