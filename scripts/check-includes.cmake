# Checks the #include "..." lines of the sources under ROOT against two
# rules (docs/architecture.md):
#  - no two units include each other, a unit being a header with its source
#    (engine/seat_equity.h and engine/seat_equity.cpp): a circle means
#    neither can be read, tested or moved without the other;
#  - a folder includes only from itself and the folders below it in the
#    layers (the libraries never from a front end).
# Headers are named by their file name alone (the targets' include paths),
# so a name is looked up among the scanned files; system headers (<...>) and
# names found nowhere are left alone.
#   cmake -DROOT=<folder> -P scripts/check-includes.cmake
# Exit status 1, with every circle and every crossing named, when a rule is
# broken; 0 otherwise.
cmake_minimum_required(VERSION 3.16)

if(NOT DEFINED ROOT OR NOT IS_DIRECTORY "${ROOT}")
  message(FATAL_ERROR "check-includes: give -DROOT=<source folder>")
endif()

# The folders scanned, each with the folders it may include from besides
# itself; "*" for any.
set(layers model cards pushfold entry resources engine storage ui requests cli python bench tests)
set(may_model "")
set(may_cards model)
set(may_pushfold cards model)
set(may_entry "")
set(may_resources "")
set(may_engine entry model resources)
set(may_storage engine entry resources)
set(may_ui engine entry resources storage)
set(may_requests cards engine entry model pushfold)
set(may_cli cards engine entry model pushfold requests)
set(may_python cards model pushfold requests)
set(may_bench "*")
set(may_tests "*")

# This check's own cases hold circles and crossings on purpose.
set(skipped "^tests/include_check/")

set(files "")
foreach(layer IN LISTS layers)
  file(GLOB_RECURSE found RELATIVE "${ROOT}" "${ROOT}/${layer}/*.h" "${ROOT}/${layer}/*.hpp"
       "${ROOT}/${layer}/*.cpp" "${ROOT}/${layer}/*.inc" "${ROOT}/${layer}/*.rc")
  foreach(file IN LISTS found)
    if(NOT file MATCHES "${skipped}")
      list(APPEND files "${file}")
    endif()
  endforeach()
endforeach()
list(SORT files)

foreach(file IN LISTS files)
  get_filename_component(name "${file}" NAME)
  set("where_${name}" "${file}")
endforeach()

set(units "")
set(problems "")
foreach(file IN LISTS files)
  string(REGEX REPLACE "\\.[^./]+$" "" unit "${file}")
  string(REGEX REPLACE "/.*$" "" layer "${file}")
  list(APPEND units "${unit}")
  file(STRINGS "${ROOT}/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" included "${line}")
    get_filename_component(name "${included}" NAME)
    set(target "${where_${name}}")
    if(target STREQUAL "")
      continue()
    endif()
    string(REGEX REPLACE "\\.[^./]+$" "" target_unit "${target}")
    string(REGEX REPLACE "/.*$" "" target_layer "${target}")
    if(NOT target_unit STREQUAL unit)
      list(APPEND "uses_${unit}" "${target_unit}")
    endif()
    if(NOT target_layer STREQUAL layer AND NOT "*" IN_LIST "may_${layer}"
       AND NOT target_layer IN_LIST "may_${layer}")
      string(REPLACE ";" ", " allowed "${layer};${may_${layer}}")
      list(APPEND problems "${file} includes ${target}: ${layer}/ may include only from ${allowed}")
    endif()
  endforeach()
endforeach()
list(REMOVE_DUPLICATES units)

foreach(unit IN LISTS units)
  set(used "${uses_${unit}}")
  list(REMOVE_DUPLICATES used)
  foreach(other IN LISTS used)
    if(unit STRLESS other AND unit IN_LIST "uses_${other}")
      list(APPEND problems "${unit} and ${other} include each other")
    endif()
  endforeach()
endforeach()

list(LENGTH files scanned)
if(problems)
  string(REPLACE ";" "\n  " listed "${problems}")
  message(FATAL_ERROR "check-includes: ${scanned} files under ${ROOT}:\n  ${listed}")
endif()
message(STATUS "check-includes: ${scanned} files, no circle, every include within its layers")
