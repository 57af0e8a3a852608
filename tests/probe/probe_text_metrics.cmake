# The probe's window command records the chart's text measures and replays
# them: replaying the record gives byte for byte the JSON of the fonts
# themselves, a changed width in the record moves the geometry, and a width
# missing from it fails naming the text.
# cmake -DPROBE=... -DRECEIPTS=... -DWORK=DIR -P probe_text_metrics.cmake
include("${CMAKE_CURRENT_LIST_DIR}/../support/probe_demo_table.cmake")

# Runs the probe's window command; the JSON into out_json, stderr into out_error.
function(probe_window out_json out_error out_status)
  execute_process(COMMAND "${PROBE}" window --data-dir "${WORK}" --year 2005 --month 3 ${ARGN}
                  OUTPUT_VARIABLE json ERROR_VARIABLE error RESULT_VARIABLE status)
  set(${out_json} "${json}" PARENT_SCOPE)
  set(${out_error} "${error}" PARENT_SCOPE)
  set(${out_status} "${status}" PARENT_SCOPE)
endfunction()

foreach(run TForm2 TForm3 TForm4 TForm5 TForm6 TForm7 TForm2-zoomed TForm5-zoomed)
  string(REPLACE "-zoomed" "" form "${run}")
  set(mouse)
  if(run MATCHES "zoomed")
    set(mouse --mouse "left-drag 120 90 420 300" --mouse "wheel up")
  endif()
  set(metrics "${WORK}/${run}.metrics.json")
  probe_window(plain error status --form ${form} ${mouse})
  probe_window(recorded error status --form ${form} ${mouse} --text-metrics-out "${metrics}")
  if(NOT status EQUAL 0 OR NOT EXISTS "${metrics}")
    message(FATAL_ERROR "${run}: recording failed (${status}): ${error}")
  endif()
  probe_window(replayed error status --form ${form} ${mouse} --text-metrics-in "${metrics}")
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${run}: replaying failed (${status}): ${error}")
  endif()
  if(NOT recorded STREQUAL plain OR NOT replayed STREQUAL plain)
    message(FATAL_ERROR "${run}: the JSON recorded or replayed differs from the fonts' own")
  endif()
endforeach()

# The value labels' font measured "W" (the box's margin): widened in the
# record, the replayed value label boxes are wider.
file(READ "${WORK}/TForm2.metrics.json" record)
string(JSON fonts LENGTH "${record}" fonts)
math(EXPR last "${fonts} - 1")
set(labels_font)
foreach(i RANGE ${last})
  string(JSON w ERROR_VARIABLE no_w GET "${record}" fonts ${i} widths W)
  if(NOT no_w)
    set(labels_font ${i})
    break()
  endif()
endforeach()
if(labels_font STREQUAL "")
  message(FATAL_ERROR "TForm2: no font measured \"W\" in ${WORK}/TForm2.metrics.json")
endif()
math(EXPR wider "${w} + 7")
string(JSON changed SET "${record}" fonts ${labels_font} widths W ${wider})
file(WRITE "${WORK}/changed.metrics.json" "${changed}")
probe_window(plain error status --form TForm2)
probe_window(moved error status --form TForm2 --text-metrics-in "${WORK}/changed.metrics.json")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "TForm2 with a changed width failed (${status}): ${error}")
endif()
string(JSON plain_width GET "${plain}" series 0 drawn valueLabels 0 width)
string(JSON moved_width GET "${moved}" series 0 drawn valueLabels 0 width)
math(EXPR expected "${plain_width} + 7")
if(NOT moved_width EQUAL expected)
  message(FATAL_ERROR "TForm2: \"W\" 7 px wider in the record gives a value label ${moved_width} px wide, "
                      "expected ${expected} (${plain_width} from the fonts)")
endif()

# A width missing from the record: no JSON, an error naming the text.
string(JSON missing REMOVE "${record}" fonts ${labels_font} widths W)
file(WRITE "${WORK}/missing.metrics.json" "${missing}")
probe_window(json error status --form TForm2 --text-metrics-in "${WORK}/missing.metrics.json")
if(status EQUAL 0 OR NOT json STREQUAL "" OR NOT error MATCHES "missing\\.metrics\\.json: no width of \"W\" in the font ")
  message(FATAL_ERROR "TForm2 with \"W\" missing from the record: status ${status}, stderr ${error}, JSON ${json}")
endif()
message(STATUS "recorded and replayed text measures give the fonts' JSON; a changed width moves it; a missing one fails")
