# For the probe's command-line tests: checks that PROBE, RECEIPTS and WORK
# are given and writes the demo table of 2005 into a fresh WORK directory.
foreach(variable PROBE RECEIPTS WORK)
  if(NOT ${variable})
    message(FATAL_ERROR "${variable} is required")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
execute_process(COMMAND "${RECEIPTS}" demo --dir "${WORK}" --from 2005 --to 2005
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "receipts demo failed: ${status}")
endif()
