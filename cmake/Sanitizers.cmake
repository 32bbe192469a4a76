# AddressSanitizer and UndefinedBehaviorSanitizer for the native build of the
# pure computation and its tests; any report fails the test.
set(OSTREL_SANITIZER_FLAGS)
if(NOT WIN32 AND OSTREL_SANITIZE AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  set(OSTREL_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
endif()

function(ostrel_sanitize target)
  if(OSTREL_SANITIZER_FLAGS)
    target_compile_options(${target} PRIVATE ${OSTREL_SANITIZER_FLAGS})
    target_link_options(${target} PRIVATE ${OSTREL_SANITIZER_FLAGS})
  endif()
endfunction()
