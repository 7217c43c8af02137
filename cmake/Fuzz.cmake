# The libFuzzer build: every target of this build is compiled with coverage for libFuzzer and
# with the address and undefined-behaviour sanitizers, so the core the fuzz targets link is
# searched and checked as closely as the targets themselves. Clang only.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "KAVEL_BUILD_FUZZ needs clang (libFuzzer): configure with "
                      "-DCMAKE_CXX_COMPILER=clang++")
endif()
set(KAVEL_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all)
add_compile_options(-fsanitize=fuzzer-no-link ${KAVEL_SANITIZERS} -fno-omit-frame-pointer)
add_link_options(${KAVEL_SANITIZERS})

# kavel_fuzz_target(NAME SOURCE): one libFuzzer executable fuzz-NAME from fuzz/SOURCE, with its
# seed corpus in fuzz/corpus/NAME. The target kavel_fuzz builds them all.
if(NOT TARGET kavel_fuzz)
  add_custom_target(kavel_fuzz)
endif()
function(kavel_fuzz_target name source)
  add_executable(fuzz-${name} ${source})
  target_link_libraries(fuzz-${name} PRIVATE kavel_core)
  target_include_directories(fuzz-${name} PRIVATE ${CMAKE_SOURCE_DIR}/fuzz)
  target_link_options(fuzz-${name} PRIVATE -fsanitize=fuzzer)
  target_compile_definitions(fuzz-${name} PRIVATE KAVEL_PROGRAM_DIR="${KAVEL_PROGRAM_DIR}")
  # Some targets play on the shipped organ, which the build makes.
  add_dependencies(fuzz-${name} default_organ)
  add_dependencies(kavel_fuzz fuzz-${name})
endfunction()
