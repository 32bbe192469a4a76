# The page's WebAssembly build: emscripten's own toolchain file, found beside
# emcc (Debian's package keeps it under /usr/share/emscripten). The command
# catches CLI11's exceptions, which emscripten compiles out unless asked.
find_program(OSTREL_EMCC emcc REQUIRED)
get_filename_component(OSTREL_EMCC_REAL "${OSTREL_EMCC}" REALPATH)
get_filename_component(OSTREL_EMSCRIPTEN_ROOT "${OSTREL_EMCC_REAL}" DIRECTORY)
# Emscripten calls its target x86 unless told, which would ask for SSE2;
# WebAssembly rounds every double operation once by itself.
set(EMSCRIPTEN_SYSTEM_PROCESSOR wasm32 CACHE STRING "The processor emscripten names")
include("${OSTREL_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake")
# WebAssembly's own exceptions: emscripten's older JavaScript ones route
# every call that may unwind through JavaScript.
set(OSTREL_WEB_EXCEPTIONS "-fwasm-exceptions" CACHE STRING "How the module's C++ exceptions are compiled")
# Its C++ library has no to_chars or from_chars for doubles: a header of
# the page's supplies them, forced into every unit.
set(CMAKE_CXX_FLAGS_INIT "${OSTREL_WEB_EXCEPTIONS} -include ${CMAKE_CURRENT_LIST_DIR}/../web/wasm/charconv_floats.h")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${OSTREL_WEB_EXCEPTIONS}")
