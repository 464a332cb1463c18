# The Windows build: setup.exe, and the conformance tests run under Wine.

# The same compiled resources as the host build, turned into an object for the linker.
set(CORVANE_RES_OBJ ${CMAKE_BINARY_DIR}/res/setup_res.o)
add_custom_command(
    OUTPUT ${CORVANE_RES_OBJ}
    COMMAND ${CORVANE_WINDRES} --input-format=res --output-format=coff -i ${CORVANE_RES} -o ${CORVANE_RES_OBJ}
    DEPENDS ${CORVANE_RES}
    COMMENT "Converting setup.res to an object"
    VERBATIM)
add_custom_target(corvane_setup_res_obj DEPENDS ${CORVANE_RES_OBJ})

# Statically linked so that the program imports system DLLs only; small and stripped.
set(CORVANE_STATIC_LINK -static -static-libgcc -static-libstdc++)

# Small: no exceptions and no run-time type information in the launcher (nothing in it throws
# or asks for a type at run time), and framework/Runtime.cpp puts new and delete on the system
# heap. Function-local statics are not guarded against a second thread: every one of them is
# first reached on the user-interface thread before the completion watch exists.
set(CORVANE_SMALL -Os -fno-exceptions -fno-rtti -fno-threadsafe-statics -fno-asynchronous-unwind-tables)
target_compile_options(launcher PRIVATE ${CORVANE_SMALL})

add_executable(setup WIN32 app/TheApp.cpp framework/Runtime.cpp ${CORVANE_RES_OBJ})
target_link_libraries(setup PRIVATE launcher)
target_compile_options(setup PRIVATE ${CORVANE_WARNINGS} ${CORVANE_SMALL})
# The entry is in the launcher library; the start-up code asks for it only after that library
# has been searched, so name it up front.
target_link_options(setup PRIVATE ${CORVANE_STATIC_LINK} -s -Wl,-u,_WinMain@16
                    ${CMAKE_SOURCE_DIR}/installer/setup.def)
set_property(TARGET setup APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/installer/setup.def)
set_target_properties(setup PROPERTIES OUTPUT_NAME setup SUFFIX .exe)

# The stand-in installer engine for the demo and the end-to-end tests.
add_executable(standin_engine WIN32 tests/e2e/StandInEngine.cpp)
target_compile_options(standin_engine PRIVATE ${CORVANE_WARNINGS})
target_link_options(standin_engine PRIVATE ${CORVANE_STATIC_LINK} -s)

# The benchmark (tools/bench): the minimal launcher it compares setup.exe with, and the
# measuring program.
add_executable(minimal_launcher WIN32 tests/bench/MinimalLauncher.cpp)
target_compile_options(minimal_launcher PRIVATE ${CORVANE_WARNINGS} ${CORVANE_SMALL})
target_link_options(minimal_launcher PRIVATE ${CORVANE_STATIC_LINK} -s)
add_executable(bench tests/bench/Bench.cpp)
target_compile_options(bench PRIVATE ${CORVANE_WARNINGS})
target_link_options(bench PRIVATE ${CORVANE_STATIC_LINK})

if(BUILD_TESTING)
    # GoogleTest from Debian's source package, built for Windows.
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

    file(GLOB CONFORMANCE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/conformance/*.cpp
         ${CMAKE_SOURCE_DIR}/tests/conformance/platform/Windows*.cpp)
    add_executable(conformance_tests ${CONFORMANCE_SOURCES} ${CMAKE_SOURCE_DIR}/framework/ResourceError.cpp
                   ${CORVANE_RES_OBJ})
    target_include_directories(conformance_tests PRIVATE tests/conformance tests/support)
    target_link_libraries(conformance_tests PRIVATE launcher gtest)
    target_compile_options(conformance_tests PRIVATE ${CORVANE_WARNINGS})
    target_link_options(conformance_tests PRIVATE ${CORVANE_STATIC_LINK})
    add_test(NAME windows.conformance COMMAND conformance_tests)

    # The shipped program: a 32-bit GUI executable importing system DLLs only.
    add_test(NAME windows.setup_exe_shape
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/check_setup_exe.sh $<TARGET_FILE:setup>)
    # It starts the stand-in engine under Wine, waits for it and ends with exit code 0.
    add_test(NAME windows.setup_runs
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/smoke_run.sh $<TARGET_FILE:setup>
                     $<TARGET_FILE:standin_engine> ${CMAKE_BINARY_DIR})
    # The end-to-end runs: the real setup.exe on media laid out per case, with the stand-in
    # engine, answered by a UI driver in the test program.
    add_executable(e2e_tests
        tests/e2e/LauncherRunTest.cpp tests/e2e/LauncherCase.cpp tests/e2e/UiDriver.cpp
        tests/e2e/E2eFiles.cpp tests/e2e/E2eProcesses.cpp)
    target_include_directories(e2e_tests PRIVATE framework)
    target_link_libraries(e2e_tests PRIVATE gtest)
    target_compile_options(e2e_tests PRIVATE ${CORVANE_WARNINGS})
    target_link_options(e2e_tests PRIVATE ${CORVANE_STATIC_LINK})
    add_dependencies(e2e_tests setup standin_engine)
    add_test(NAME windows.e2e COMMAND e2e_tests)
    set_tests_properties(windows.e2e PROPERTIES TIMEOUT 600
        ENVIRONMENT "CORVANE_E2E_SETUP=$<TARGET_FILE:setup>;CORVANE_E2E_ENGINE=$<TARGET_FILE:standin_engine>")

    # Runs of setup.exe share one Wine session: its completion event, the installer window it
    # looks for, the registry. Two of them at once would end or refuse each other's runs.
    set_tests_properties(windows.setup_runs windows.e2e PROPERTIES RESOURCE_LOCK setup_runs_in_wine)
    set_tests_properties(windows.setup_runs PROPERTIES TIMEOUT 240)
endif()
