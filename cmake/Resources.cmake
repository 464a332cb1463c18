# Build rules for the launcher's resources: the icons drawn from res/icons/*.txt, the one
# compiled resource file made from res/setup.rc, and (host builds) a C++ source holding that
# file's bytes. Only host programs run (python3, windres), never the target compiler, so the
# rules are the same in a native build and in a MinGW cross build.
#
#   corvane_compile_resources(<out-var>)
#       Adds the rules and a target `corvane_setup_res` that builds them; sets <out-var> to
#       ${CMAKE_BINARY_DIR}/res/setup.res. Calling it again only returns the path.
#
#   corvane_embed_res(<res-file> <out-var>)
#       Adds a rule writing <name>_res.cpp in the current binary directory, defining the
#       arrays declared in res/EmbeddedRes.h; sets <out-var> to that source. Add the source to
#       a target of the same directory (its include path is a property of the source there).
include_guard(GLOBAL)

get_filename_component(CORVANE_RES_DIR "${CMAKE_CURRENT_LIST_DIR}/../res" ABSOLUTE)
get_filename_component(CORVANE_TOOLS_DIR "${CMAKE_CURRENT_LIST_DIR}/../tools" ABSOLUTE)

# Host programs: a cross toolchain may confine find_program to its target root, so look
# outside it. Either can be set on the command line instead (-DCORVANE_WINDRES=...).
find_program(CORVANE_PYTHON3 NAMES python3 NO_CMAKE_FIND_ROOT_PATH
             DOC "Python 3 interpreter for the resource tools")
find_program(CORVANE_WINDRES NAMES i686-w64-mingw32-windres NO_CMAKE_FIND_ROOT_PATH
             DOC "Resource compiler for the launcher's resource script")

# Drawings res/icons/<name>.txt; setup.rc names the generated <name>.ico files.
set(CORVANE_ICON_NAMES setup quit remove_services)

function(corvane_compile_resources OUT_RES_VAR)
    set(res_file "${CMAKE_BINARY_DIR}/res/setup.res")
    set(${OUT_RES_VAR} "${res_file}" PARENT_SCOPE)
    if(TARGET corvane_setup_res)
        return()
    endif()

    if(NOT CORVANE_PYTHON3)
        message(FATAL_ERROR "python3 not found: it draws the launcher's icons")
    endif()
    if(NOT CORVANE_WINDRES)
        message(FATAL_ERROR "i686-w64-mingw32-windres not found (set CORVANE_WINDRES): "
                            "it compiles res/setup.rc")
    endif()

    set(icon_dir "${CMAKE_BINARY_DIR}/res/icons")
    file(MAKE_DIRECTORY "${icon_dir}")
    set(icon_files "")
    foreach(icon IN LISTS CORVANE_ICON_NAMES)
        set(drawing "${CORVANE_RES_DIR}/icons/${icon}.txt")
        set(ico "${icon_dir}/${icon}.ico")
        add_custom_command(
            OUTPUT "${ico}"
            COMMAND "${CORVANE_PYTHON3}" "${CORVANE_TOOLS_DIR}/mkicon.py" "${drawing}" "${ico}"
            DEPENDS "${drawing}" "${CORVANE_TOOLS_DIR}/mkicon.py"
            COMMENT "Drawing icon ${icon}.ico"
            VERBATIM)
        list(APPEND icon_files "${ico}")
    endforeach()

    add_custom_command(
        OUTPUT "${res_file}"
        COMMAND "${CORVANE_WINDRES}"
                "-I${CORVANE_RES_DIR}" "-I${icon_dir}"
                --input-format=rc --output-format=res
                -i "${CORVANE_RES_DIR}/setup.rc" -o "${res_file}"
        DEPENDS "${CORVANE_RES_DIR}/setup.rc" "${CORVANE_RES_DIR}/resource.h" ${icon_files}
        COMMENT "Compiling resources setup.res"
        VERBATIM)

    # Lets targets in any directory wait for the .res (add_dependencies) without each of
    # them repeating the rules above.
    add_custom_target(corvane_setup_res DEPENDS "${res_file}")
endfunction()

function(corvane_embed_res RES_FILE OUT_CPP_VAR)
    if(NOT CORVANE_PYTHON3)
        message(FATAL_ERROR "python3 not found: it embeds ${RES_FILE}")
    endif()
    get_filename_component(name "${RES_FILE}" NAME_WE)
    set(cpp_file "${CMAKE_CURRENT_BINARY_DIR}/${name}_res.cpp")
    set(depends "${RES_FILE}" "${CORVANE_TOOLS_DIR}/embed_res.py")
    if(TARGET corvane_setup_res)
        # Orders the build after the rules that make the .res, wherever they were added.
        list(APPEND depends corvane_setup_res)
    endif()
    add_custom_command(
        OUTPUT "${cpp_file}"
        COMMAND "${CORVANE_PYTHON3}" "${CORVANE_TOOLS_DIR}/embed_res.py" "${RES_FILE}" "${cpp_file}"
        DEPENDS ${depends}
        COMMENT "Embedding ${name}.res"
        VERBATIM)
    set_source_files_properties("${cpp_file}" PROPERTIES
        INCLUDE_DIRECTORIES "${CORVANE_RES_DIR}")
    set(${OUT_CPP_VAR} "${cpp_file}" PARENT_SCOPE)
endfunction()
