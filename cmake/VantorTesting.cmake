# vantor_add_test(NAME <target> SOURCES <files...> [LIBS <targets...>] [GUI])
#
# One GoogleTest program; each of its test cases becomes one CTest test.
# GUI tests get a QApplication (offscreen platform) from gui_test_main.cpp,
# the others gtest_main. Every test knows the source and build trees through
# VANTOR_SOURCE_DIR / VANTOR_BINARY_DIR / VANTOR_BIN_DIR.
include(GoogleTest)

function(vantor_add_test)
  cmake_parse_arguments(T "GUI" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE vantor_warnings vantor_test_support GTest::gtest GTest::gmock ${T_LIBS})
  if(T_GUI)
    target_link_libraries(${T_NAME} PRIVATE vantor_gui_test_main)
  else()
    target_link_libraries(${T_NAME} PRIVATE GTest::gtest_main)
  endif()
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES TIMEOUT ${T_TIMEOUT} ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
