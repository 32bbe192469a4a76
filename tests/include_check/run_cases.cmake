# The include check's contract, case by case: each folder beside this file
# is a small source tree, on which scripts/check-includes.cmake must end with
# the status given, print every text given and none of the texts refused.
#   cmake -DCHECK=<check-includes.cmake> -P run_cases.cmake
cmake_minimum_required(VERSION 3.16)

# folder | exit status | texts printed | texts not printed (texts apart by ^, - for none)
set(cases
  "clean|0|6 files, no circle, every include within its layers|include each other^may include only"
  "circle_sources|1|engine/a and engine/b include each other|may include only"
  "circle_headers|1|cards/x and cards/y include each other|cards/z"
  "layer_crossing|1|model/m.cpp includes cli/c.h: model/ may include only from model^ui/u.cpp includes cli/c.h: ui/ may include only from ui, engine, entry, resources, storage^pushfold/p.cpp includes requests/r.h: pushfold/ may include only from pushfold, cards, model^requests/r.cpp includes cli/c.h: requests/ may include only from requests, cards, engine, entry, model, pushfold|cli/k.cpp^cli/j.cpp^requests/r.cpp includes model^include each other"
  "skipped_cases|0|1 files, no circle|include each other")

set(failed 0)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 folder)
  list(GET fields 1 expected_status)
  list(GET fields 2 wanted)
  list(GET fields 3 refused)
  execute_process(COMMAND "${CMAKE_COMMAND}" "-DROOT=${CMAKE_CURRENT_LIST_DIR}/${folder}" -P "${CHECK}"
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  # CMake indents and may wrap its error text: compare with single spaces.
  string(REGEX REPLACE "[ \t\r\n]+" " " printed "${out} ${err}")
  if(NOT status STREQUAL expected_status)
    message(SEND_ERROR "${folder}: exit status ${status}, expected ${expected_status}\n${out}${err}")
    set(failed 1)
  endif()
  string(REPLACE "^" ";" wanted "${wanted}")
  foreach(text IN LISTS wanted)
    string(FIND "${printed}" "${text}" at)
    if(at EQUAL -1)
      message(SEND_ERROR "${folder}: \"${text}\" not printed\n${out}${err}")
      set(failed 1)
    endif()
  endforeach()
  string(REPLACE "^" ";" refused "${refused}")
  foreach(text IN LISTS refused)
    string(FIND "${printed}" "${text}" at)
    if(NOT at EQUAL -1)
      message(SEND_ERROR "${folder}: \"${text}\" printed\n${out}${err}")
      set(failed 1)
    endif()
  endforeach()
endforeach()
if(failed)
  message(FATAL_ERROR "include check cases failed")
endif()
list(LENGTH cases count)
message(STATUS "${count} include check cases as expected")
