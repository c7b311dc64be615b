# One INTERFACE target carries the flags every Corvesta target shares. The
# options it reads (CORVESTA_WERROR, CORVESTA_BUILD_FUZZ, CORVESTA_SANITIZE)
# are declared in the top CMakeLists.txt before this file is included.
add_library(corvesta_flags INTERFACE)
target_compile_features(corvesta_flags INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(corvesta_flags INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
  -Wcast-align -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough
  $<$<BOOL:${CORVESTA_WERROR}>:-Werror>)
# Qt strictness: no implicit casts between QString and 8-bit text, no
# keywords as macros, no deprecated API.
target_compile_definitions(corvesta_flags INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_URL_CAST_FROM_STRING QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_KEYWORDS QT_USE_QSTRINGBUILDER QT_STRICT_ITERATORS
  QT_DISABLE_DEPRECATED_BEFORE=0x060400)
find_package(Threads REQUIRED)
target_link_libraries(corvesta_flags INTERFACE Threads::Threads)

if(CORVESTA_BUILD_FUZZ)
  target_compile_options(corvesta_flags INTERFACE -fsanitize=fuzzer-no-link)
endif()

if(CORVESTA_SANITIZE)
  target_compile_options(corvesta_flags INTERFACE
    -fsanitize=${CORVESTA_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(corvesta_flags INTERFACE -fsanitize=${CORVESTA_SANITIZE})
endif()

# corvesta_harden(TARGET): hardening of what is shipped (the programs and the
# libraries in them): checked string and memory functions (they need
# optimisation, so not in Debug), stack protection, and relocations
# read-only after start. Tests and tools are built without, so that the
# checked functions' warnings do not bind their code. Builds with sanitizers
# or the fuzzer instrument memory themselves and are left without.
function(corvesta_harden target)
  if(CORVESTA_SANITIZE OR CORVESTA_BUILD_FUZZ)
    return()
  endif()
  target_compile_options(${target} PRIVATE
    $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2> -fstack-protector-strong)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_link_options(${target} PRIVATE LINKER:-z,relro,-z,now)
  endif()
endfunction()
