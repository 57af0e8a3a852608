# The probe's window command on a demo table at device pixel ratios 1, 1.25,
# 1.5 and 2: the JSON (points, drawn geometry, axes) is the same at every
# ratio, and the chart bitmap it writes holds the device pixels: its logical
# size times the ratio.
# cmake -DPROBE=... -DRECEIPTS=... -DWORK=DIR -P probe_at_screen_ratio.cmake
include("${CMAKE_CURRENT_LIST_DIR}/../support/probe_demo_table.cmake")

# Width and height of a PNG file from its header.
function(png_size file out_width out_height)
  file(READ "${file}" header OFFSET 16 LIMIT 8 HEX)
  string(SUBSTRING "${header}" 0 8 width_hex)
  string(SUBSTRING "${header}" 8 8 height_hex)
  math(EXPR width "0x${width_hex}")
  math(EXPR height "0x${height_hex}")
  set(${out_width} ${width} PARENT_SCOPE)
  set(${out_height} ${height} PARENT_SCOPE)
endfunction()

foreach(form TForm2 TForm3 TForm4 TForm5 TForm6 TForm7)
  # Ratios in hundredths, so that the expected sizes stay whole numbers.
  foreach(hundredths 100 125 150 200)
    math(EXPR whole "${hundredths} / 100")
    math(EXPR fraction "${hundredths} % 100")
    set(png "${WORK}/${form}-${hundredths}.png")
    execute_process(
      COMMAND "${CMAKE_COMMAND}" -E env "QT_SCALE_FACTOR=${whole}.${fraction}"
              "${PROBE}" window --form ${form} --data-dir "${WORK}" --year 2005 --month 3 --png "${png}"
      OUTPUT_VARIABLE json RESULT_VARIABLE status ERROR_QUIET)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${form} at ${whole}.${fraction}: the probe failed (${status})")
    endif()
    png_size("${png}" width height)
    if(hundredths EQUAL 100)
      set(plain_json "${json}")
      set(plain_width ${width})
      set(plain_height ${height})
      continue()
    endif()
    if(NOT json STREQUAL plain_json)
      message(FATAL_ERROR "${form} at ${whole}.${fraction}: the JSON differs from the one at ratio 1")
    endif()
    math(EXPR expected_width "(${plain_width} * ${hundredths} + 50) / 100")
    math(EXPR expected_height "(${plain_height} * ${hundredths} + 50) / 100")
    if(NOT width EQUAL expected_width OR NOT height EQUAL expected_height)
      message(FATAL_ERROR "${form} at ${whole}.${fraction}: bitmap ${width}x${height}, "
                          "expected ${expected_width}x${expected_height} (${plain_width}x${plain_height} at 1)")
    endif()
  endforeach()
endforeach()
message(STATUS "the probe's JSON is the same at every ratio; the bitmaps hold device pixels")
