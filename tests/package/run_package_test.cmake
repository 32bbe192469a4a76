# The installed package as another project meets it: install the libraries
# from the build, move the prefix elsewhere, find no path of this machine and
# no sanitizer in it, build the consumer project beside this file against it
# (every header alone, then package_answers), and hold its answers against
# ostrel-icm's for the same questions, bit for bit; finally, which versions
# find_package accepts.
#   cmake -DBUILD=<build folder> -DSOURCE=<source folder> -DICM=<ostrel-icm>
#         -DWORK=<scratch folder> -DGENERATOR=<generator> -DCXX=<C++ compiler>
#         -P run_package_test.cmake
cmake_minimum_required(VERSION 3.19)
foreach(variable BUILD SOURCE ICM WORK GENERATOR CXX)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "run_package_test.cmake: -D${variable}=... is missing")
  endif()
endforeach()
set(HERE ${CMAKE_CURRENT_LIST_DIR})

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${out}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# Installed in one place and used from another: a path written into the
# package would point into the empty first place.
run("cmake --install" ${CMAKE_COMMAND} --install ${BUILD} --prefix ${WORK}/staged --component development)
file(RENAME ${WORK}/staged ${WORK}/prefix)
set(PREFIX ${WORK}/prefix)

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)
foreach(expected include/ostrel/equities.h include/ostrel/equity.h include/ostrel/spot.h
                 include/ostrel/field.h)
  if(NOT expected IN_LIST installed)
    message(FATAL_ERROR "${expected} is not installed; installed:\n${installed}")
  endif()
endforeach()
foreach(pattern "/libostrel_model\\.a$" "/libostrel_cards\\.a$" "/libostrel_pushfold\\.a$"
                "/cmake/Ostrel/OstrelConfig\\.cmake$" "/cmake/Ostrel/OstrelConfigVersion\\.cmake$")
  set(found ${installed})
  list(FILTER found INCLUDE REGEX "${pattern}")
  if(NOT found)
    message(FATAL_ERROR "nothing installed matches ${pattern}; installed:\n${installed}")
  endif()
endforeach()

# grep over every installed file, text or archive: the source and build
# folders (the staging prefix lies in the build folder), and the symbols an
# instrumented archive would need from a sanitizer's runtime.
foreach(file ${installed})
  file(STRINGS ${PREFIX}/${file} lines)
  foreach(text "${SOURCE}" "${BUILD}" "${WORK}" "__asan_" "__ubsan_")
    string(FIND "${lines}" "${text}" at)
    if(NOT at EQUAL -1)
      message(FATAL_ERROR "${file} holds \"${text}\"")
    endif()
  endforeach()
endforeach()

# The consumer: a plain configure with none of this build's flags.
run("configuring the consumer" ${CMAKE_COMMAND} -S ${HERE} -B ${WORK}/consumer -G ${GENERATOR}
    -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=${PREFIX}
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON)
run("building the consumer" ${CMAKE_COMMAND} --build ${WORK}/consumer -j 2)

# The package's usage requirements reach the consumer's own compilation.
file(READ ${WORK}/consumer/compile_commands.json commands)
string(REGEX MATCH "\"command\": \"[^\"]*package_answers\\.cpp[^\"]*\"" command "${commands}")
foreach(flag "-ffp-contract=off" "-fno-fast-math")
  string(FIND "${command}" "${flag}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the consumer compiles without ${flag}: ${command}")
  endif()
endforeach()
if(NOT command MATCHES "-std=(c|gnu)\\+\\+17" OR command MATCHES "sanitize")
  message(FATAL_ERROR "the consumer should compile as C++17 without sanitizers: ${command}")
endif()

execute_process(COMMAND ${WORK}/consumer/package_answers RESULT_VARIABLE status OUTPUT_VARIABLE answers
                ERROR_VARIABLE problems)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "package_answers failed (${status}): ${problems}")
endif()

# The command's answers, as "name value" lines in the consumer's order.
# Name | arguments | the JSON fields read, in order of appearance.
set(stacks "")
foreach(stack RANGE 1000 25000 1000)
  string(APPEND stacks ",${stack}")
endforeach()
string(SUBSTRING "${stacks}" 1 -1 stacks)
set(questions
    "subsets|equity --stacks 5000,3000,2000,1500,900 --prizes 50,30,20 --method subsets --format json"
    "quadrature|equity --stacks ${stacks} --prizes 40,25,15,10,6,4 --method quadrature --format json"
    "allin|allin AhKh QQ+ JTs --board Qs9h2c --format json"
    "headsup|allin AKo 22 --format json"
    "spot|spot --stacks 5000000000,3000000000,2000000000 --prizes 50,30,20 --button 1 --blinds 100000000,200000000 --ante 20000000 --hero BTN --range SB=QQ+,AK --range BB=JJ+,AQs+ --overcall BB=KK+ --format json")
set(expected "")
foreach(question ${questions})
  string(REPLACE "|" ";" parts "${question}")
  list(GET parts 0 name)
  list(GET parts 1 arguments)
  separate_arguments(arguments UNIX_COMMAND "${arguments}")
  execute_process(COMMAND ${ICM} ${arguments} RESULT_VARIABLE status OUTPUT_VARIABLE json ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "ostrel-icm ${arguments} failed (${status}): ${out}")
  endif()
  if(name STREQUAL "spot")
    string(REGEX MATCHALL "\"hand\": \"[^\"]+\", \"combos\": [^,]+, \"ev_fold\": [^,]+, \"ev_play\": [^,]+"
           hands "${json}")
    foreach(hand ${hands})
      string(REGEX MATCH "\"hand\": \"([^\"]+)\".*\"ev_fold\": ([^,]+), \"ev_play\": (.+)$" _ "${hand}")
      string(APPEND expected "spot.${CMAKE_MATCH_1}.fold ${CMAKE_MATCH_2}\nspot.${CMAKE_MATCH_1}.play ${CMAKE_MATCH_3}\n")
    endforeach()
  else()
    string(REGEX MATCHALL "\"equity\": [^,}]+" values "${json}")
    set(player 0)
    foreach(value ${values})
      math(EXPR player "${player} + 1")
      string(REPLACE "\"equity\": " "" value "${value}")
      string(APPEND expected "${name}.${player} ${value}\n")
    endforeach()
  endif()
endforeach()

if(NOT answers STREQUAL expected)
  file(WRITE ${WORK}/library.txt "${answers}")
  file(WRITE ${WORK}/command.txt "${expected}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/library.txt ${WORK}/command.txt)
  message(FATAL_ERROR "the installed libraries and ostrel-icm differ: compare ${WORK}/library.txt "
                      "with ${WORK}/command.txt")
endif()
string(REGEX MATCHALL "\n" lines "${answers}")
list(LENGTH lines count)
# Every seat of both fields, every all-in player, both values of each class.
math(EXPR numbers "5 + 25 + 3 + 2 + 2 * 169")
if(NOT count EQUAL numbers)
  message(FATAL_ERROR "only ${count} numbers compared:\n${answers}")
endif()

# Versions find_package refuses (the consumer's configure took 2.10): an older
# patch than asked, another minor or major version. The probe enables no
# language, which the package's own file needs: a version let through would
# fail with another message than the refusal.
foreach(wanted 2.10.1 2.9 2.11 3.0)
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${HERE}/version_probe -B ${WORK}/probe-${wanted} -G ${GENERATOR}
                          -DCMAKE_PREFIX_PATH=${PREFIX} -DOSTREL_WANTED=${wanted}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  string(REPLACE "." "\\." pattern "${wanted}")
  if(status EQUAL 0 OR NOT out MATCHES "compatible[ \n]+with requested version \"${pattern}\"")
    message(FATAL_ERROR "find_package(Ostrel ${wanted}) should refuse 2.10.0.9:\n${out}")
  endif()
endforeach()
message(STATUS "package: ${count} numbers as ostrel-icm's; 2.10 taken, 2.10.1, 2.9, 2.11 and 3.0 refused")
