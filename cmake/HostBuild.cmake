# The host build: the launcher against winsim, with unit and conformance tests.

file(GLOB WINSIM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/winsim/src/*.cpp)
add_library(winsim STATIC ${WINSIM_SOURCES})
target_include_directories(winsim PUBLIC winsim/include)
target_compile_options(winsim PRIVATE ${CORVANE_WARNINGS})
find_package(Threads REQUIRED)
target_link_libraries(winsim PUBLIC Threads::Threads)
target_link_libraries(launcher PUBLIC winsim)

# The compiled resources, as bytes inside the test programs.
corvane_embed_res(${CORVANE_RES} CORVANE_RES_CPP)
add_library(launcher_res STATIC ${CORVANE_RES_CPP})
target_include_directories(launcher_res PUBLIC res)
add_dependencies(launcher_res corvane_setup_res)

if(BUILD_TESTING)
    find_package(GTest REQUIRED)
    include(GoogleTest)

    file(GLOB SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
    add_library(test_support STATIC ${SUPPORT_SOURCES})
    target_include_directories(test_support PUBLIC tests/support winsim/src)
    target_link_libraries(test_support PUBLIC launcher launcher_res GTest::gtest)
    target_compile_options(test_support PRIVATE ${CORVANE_WARNINGS})

    file(GLOB UNIT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
    add_executable(unit_tests ${UNIT_SOURCES})
    target_link_libraries(unit_tests PRIVATE test_support GTest::gtest_main)
    target_compile_options(unit_tests PRIVATE ${CORVANE_WARNINGS})
    gtest_discover_tests(unit_tests TEST_PREFIX "host." DISCOVERY_TIMEOUT 60)

    file(GLOB CONFORMANCE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/conformance/*.cpp
         ${CMAKE_SOURCE_DIR}/tests/conformance/platform/Host*.cpp)
    add_executable(conformance_tests ${CONFORMANCE_SOURCES})
    target_include_directories(conformance_tests PRIVATE tests/conformance)
    target_link_libraries(conformance_tests PRIVATE test_support GTest::gtest)
    target_compile_options(conformance_tests PRIVATE ${CORVANE_WARNINGS})
    gtest_discover_tests(conformance_tests TEST_PREFIX "host.conformance." DISCOVERY_TIMEOUT 60)
endif()
