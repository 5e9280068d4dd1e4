# AddressSanitizer (with LeakSanitizer) and UndefinedBehaviorSanitizer over every target.
# Clang's runtime writes the reports of both where the run says (log_path); GCC's separate
# UBSan runtime ignores that beside ASan and reports only on standard error.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "The sanitizer and fuzz builds need Clang (scripts/test --sanitize "
                        "and scripts/fuzz choose it)")
endif()
set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(${sanitizers} -O1 -g)
add_link_options(${sanitizers})

if(ORVANE_FUZZ)
    # Coverage for libFuzzer in everything; only the fuzz targets link its main.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(ORVANE_SANITIZE)
    # Each test runs through run-sanitized, which fails it on any report of the test or of a
    # program it starts. CMake before 3.28 runs tests (and gtest discovery) through the
    # emulator, later ones through the test launcher.
    set(run_sanitized ${CMAKE_SOURCE_DIR}/tests/sanitize/run-sanitized)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${run_sanitized})
    set(CMAKE_TEST_LAUNCHER ${run_sanitized})
endif()
