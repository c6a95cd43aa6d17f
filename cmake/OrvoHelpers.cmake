# Shared build helpers for the suite.

# orvo_test(<name> LABEL <deliverable> [GUI] SOURCES ... LIBS ...)
# One GoogleTest executable, run by CTest as one test carrying the
# deliverable's label; GUI tests also carry "gui" and run on Qt's offscreen
# platform.
function(orvo_test name)
  cmake_parse_arguments(T "GUI" "LABEL" "SOURCES;LIBS" ${ARGN})
  if(NOT ORVO_TESTS)
    return()
  endif()
  if(T_GUI AND NOT ORVO_WITH_GUI)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  # A test that hangs fails here instead of holding up the run.
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  if(T_GUI)
    set_tests_properties(${name} PROPERTIES
      LABELS "${T_LABEL};gui" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  else()
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABEL}")
  endif()
endfunction()

# orvo_shared_library(<target> EXPORTS <file> LABEL <deliverable> SOURCES ... LIBS ...)
# A shared library a host loads with dlopen. Everything is hidden except the
# undecorated C names listed (one per line, '#' starts a comment) in <file>.
# A test checks that the built library exports exactly that list.
function(orvo_shared_library target)
  cmake_parse_arguments(L "" "EXPORTS;LABEL" "SOURCES;LIBS" ${ARGN})
  add_library(${target} SHARED ${L_SOURCES})
  set_target_properties(${target} PROPERTIES
    C_VISIBILITY_PRESET hidden
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    PREFIX "lib")
  target_link_libraries(${target} PRIVATE ${L_LIBS})

  set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  add_custom_command(
    OUTPUT ${map}
    COMMAND ${CMAKE_COMMAND} -DLIST=${L_EXPORTS} -DOUT=${map}
            -P ${PROJECT_SOURCE_DIR}/cmake/MakeVersionScript.cmake
    DEPENDS ${L_EXPORTS} ${PROJECT_SOURCE_DIR}/cmake/MakeVersionScript.cmake
    COMMENT "Export list of ${target}")
  add_custom_target(${target}_exports DEPENDS ${map})
  add_dependencies(${target} ${target}_exports)
  target_link_options(${target} PRIVATE "LINKER:--version-script=${map}" "LINKER:--no-undefined")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
  set_property(TARGET ${target} PROPERTY ORVO_EXPORTS_FILE ${L_EXPORTS})

  if(ORVO_TESTS)
    add_test(NAME ${target}.exports_exactly_as_listed
      COMMAND ${CMAKE_COMMAND} -DLIB=$<TARGET_FILE:${target}> -DLIST=${L_EXPORTS}
              -P ${PROJECT_SOURCE_DIR}/cmake/CheckExports.cmake)
    add_test(NAME ${target}.loads_with_dlopen
      COMMAND orvo_dlopen_check $<TARGET_FILE:${target}> ${L_EXPORTS})
    set_tests_properties(${target}.exports_exactly_as_listed ${target}.loads_with_dlopen
      PROPERTIES LABELS "${L_LABEL}")
  endif()
endfunction()
