# Warnings are errors on our own code only; third-party headers come in as
# system includes through their imported targets.
function(zarno_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# zarno_library(NAME SOURCES ... PUBLIC ... PRIVATE ...)
# PUBLIC lists the libraries whose types appear in this library's headers, so
# users of the library get them too; PRIVATE lists those used only inside its
# sources, which stay invisible to every library built on it.
function(zarno_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
  zarno_warnings(${name})
endfunction()

# zarno_test(NAME SOURCES ... DEPENDS ...): one GoogleTest executable.
# Tests that need a QGuiApplication link zarno_test_gui_main instead of
# zarno_test_main.
function(zarno_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE zarno_test_gui_main)
  else()
    target_link_libraries(${name} PRIVATE zarno_test_main)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gmock)
  zarno_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
