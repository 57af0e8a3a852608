# The tests the Windows build carries: the filter's and the engine's, in
# filter_tests.exe and data_tests.exe, which scripts/windows-checks runs under
# Wine. Files named *_posix_test.cpp need a second process made by fork, pipes,
# FIFOs or POSIX modes and stay out. Not registered with CTest: this machine
# cannot run them itself.

# GoogleTest from the system's source package, built with the programs.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_library(uriage_test_core_main STATIC support/core_main.cpp)
target_link_libraries(uriage_test_core_main PUBLIC GTest::gtest Qt6::Core)
target_include_directories(uriage_test_core_main PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

function(uriage_windows_test_folder name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.h)
  list(FILTER sources EXCLUDE REGEX "_posix_test\\.cpp$|/process_helpers\\.h$")
  add_executable(${name}_tests ${sources})
  target_link_libraries(${name}_tests PRIVATE uriage_test_core_main GTest::gtest ${ARGN})
endfunction()

uriage_windows_test_folder(filter uriage_filter)
uriage_windows_test_folder(data uriage_data)
