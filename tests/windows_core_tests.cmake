# The tests the Windows build carries: the filter's and the engine's, in
# filter_tests.exe and data_tests.exe, which the checks under Wine run. Files
# named *_posix_test.cpp need a second process made by fork, pipes, FIFOs or
# POSIX modes and stay out. This machine cannot run them itself: CTest runs
# the checks under Wine (tests/wine, pytest), which run them there.

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

# The checks under Wine: the program's, then the setup's, in one pytest run
# sharing one fresh Wine prefix and virtual X display (each module ends every
# Wine program it started). They need the staged program folders and the
# setup (scripts/windows packs them) and the Linux build's probe (the
# environment's URIAGE_LINUX_BUILD, default build/). Debian's python3 has
# python3-pytest (another python3 may come first on PATH).
set(URIAGE_WINE_PYTHON /usr/bin/python3 CACHE FILEPATH "The Python with pytest that runs the checks under Wine")
add_test(NAME Wine
  COMMAND ${CMAKE_COMMAND} -E env URIAGE_WINDOWS_BUILD=${CMAKE_BINARY_DIR} PYTHONDONTWRITEBYTECODE=1
          ${URIAGE_WINE_PYTHON} -m pytest -v -s -p no:cacheprovider
          ${CMAKE_CURRENT_SOURCE_DIR}/wine/test_program.py ${CMAKE_CURRENT_SOURCE_DIR}/wine/test_installer.py)
set_tests_properties(Wine PROPERTIES LABELS wine TIMEOUT 1200)
