# libFuzzer targets: one per kind of outside input. Each runs for a bounded time as a test,
# starting from the small seed corpus under tests/fuzz/corpus/<name>; what it learns stays in
# the build tree.

enable_testing()
find_package(GTest REQUIRED)
set(CORVANE_FUZZ_SECONDS 20 CACHE STRING "How long each fuzz target runs in the test suite")

file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzzer.cpp)
foreach(source IN LISTS FUZZ_SOURCES)
    get_filename_component(target ${source} NAME_WE)
    string(REGEX REPLACE "_fuzzer$" "" name ${target})
    add_executable(${target} ${source} ${CMAKE_SOURCE_DIR}/tests/support/LauncherHarness.cpp)
    target_include_directories(${target} PRIVATE tests/support winsim/src app)
    target_link_libraries(${target} PRIVATE launcher launcher_res GTest::gtest)
    target_compile_options(${target} PRIVATE ${CORVANE_WARNINGS})
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
    set(corpus ${CMAKE_BINARY_DIR}/corpus/${name})
    file(MAKE_DIRECTORY ${corpus})
    add_test(NAME fuzz.${name}
             COMMAND ${target} -max_total_time=${CORVANE_FUZZ_SECONDS} -print_final_stats=1
                     ${corpus} ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
    set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 600)
endforeach()
