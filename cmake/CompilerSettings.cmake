# Flags every target of the calculator shares, on every toolchain.

# Results are defined to the last bit of a double: no contraction into fused
# multiply-adds, no fast-math, no tuning for the build machine.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-ffp-contract=off -fno-fast-math)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i.86|x86)$" OR CMAKE_CXX_COMPILER MATCHES "i686")
    # x87 would round twice; SSE2 rounds each operation to double once.
    add_compile_options(-msse2 -mfpmath=sse)
  endif()
elseif(MSVC)
  add_compile_options(/fp:precise /utf-8)
endif()

set(OSTREL_WARNINGS)
set(OSTREL_STRICT_WARNINGS)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  set(OSTREL_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wformat=2 -Wundef -Wcast-qual
      -Wmissing-declarations -Wvla -Wpointer-arith)
  set(OSTREL_STRICT_WARNINGS -Wconversion -Wsign-conversion -Wdouble-promotion)
  if(OSTREL_WERROR)
    list(APPEND OSTREL_WARNINGS -Werror)
  endif()
endif()

# Product warnings; `strict` adds the conversion checks of the pure core.
function(ostrel_warnings target)
  cmake_parse_arguments(ARG "STRICT" "" "" ${ARGN})
  target_compile_options(${target} PRIVATE ${OSTREL_WARNINGS})
  if(ARG_STRICT)
    target_compile_options(${target} PRIVATE ${OSTREL_STRICT_WARNINGS})
  endif()
endfunction()

if(WIN32)
  # Windows headers: lean, strict handle types, Windows 7 API level for
  # the records the program relies on; MinGW's own C99 printf family, which
  # rounds correctly and the same on every Windows version.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX STRICT _WIN32_WINNT=0x0601
                          WINVER=0x0601 __USE_MINGW_ANSI_STDIO=1)
  if(MINGW)
    add_link_options(-static -static-libgcc -static-libstdc++)
  endif()
endif()
