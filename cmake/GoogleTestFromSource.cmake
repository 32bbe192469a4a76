# GoogleTest built from the sources that Debian's googletest package ships,
# with whichever toolchain configures the project.
if(NOT TARGET gtest)
  set(OSTREL_GOOGLETEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
  if(NOT EXISTS ${OSTREL_GOOGLETEST_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${OSTREL_GOOGLETEST_DIR} "
                        "(Debian: apt-get install googletest)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${OSTREL_GOOGLETEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
include(GoogleTest)
