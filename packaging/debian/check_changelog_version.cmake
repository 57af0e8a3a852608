# Fails when the Debian change log's newest entry is not the program's
# version (its Debian revision apart).
# Usage: cmake -DVERSION=1.02 -DCHANGELOG=.../changelog -P check_changelog_version.cmake
file(STRINGS ${CHANGELOG} first LIMIT_COUNT 1)
if(NOT first MATCHES "^uriage \\(([0-9.]+)-[0-9]+\\) ")
  message(FATAL_ERROR "${CHANGELOG}: no version in its first line: ${first}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  message(FATAL_ERROR "${CHANGELOG} is at ${CMAKE_MATCH_1}, the program at ${VERSION}")
endif()
message(STATUS "the change log's newest entry is ${CMAKE_MATCH_1}, the program's version")
