# pelmora_core_test(NAME sources...): a test executable that links the core library only.
function(pelmora_core_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE pelmora_core pelmora_test_support GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE PELMORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  pelmora_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120
                       ENVIRONMENT "PELMORA_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data")
endfunction()

# pelmora_gui_test(NAME sources...): a test executable that links the Qt user interface;
# its main() creates the QApplication.
function(pelmora_gui_test name)
  if(NOT PELMORA_BUILD_GUI)
    return()
  endif()
  add_executable(${name} ${ARGN} ${CMAKE_SOURCE_DIR}/tests/support/QtTestMain.cpp
                 ${CMAKE_SOURCE_DIR}/tests/support/QtTsanSuppressions.cpp)
  target_link_libraries(${name} PRIVATE pelmora_gui pelmora_test_support GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE PELMORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  pelmora_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 180
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PELMORA_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data")
endfunction()
