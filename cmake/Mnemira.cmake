# What every target of ours shares: warnings and instrumentation as interface targets (so an
# option changes the flags of our own targets only), and the module function that builds one
# layer of src/ as a library that can see only the layers below it.

add_library(mnemira_warnings INTERFACE)
target_compile_options(mnemira_warnings INTERFACE -Wall -Wextra)

add_library(mnemira_instrumentation INTERFACE)
if(MNEMIRA_SANITIZE)
    target_compile_options(mnemira_instrumentation INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(mnemira_instrumentation INTERFACE -fsanitize=address,undefined)
endif()
if(MNEMIRA_TSAN)
    target_compile_options(mnemira_instrumentation INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(mnemira_instrumentation INTERFACE -fsanitize=thread)
endif()
if(MNEMIRA_FUZZ)
    # Coverage for libFuzzer in everything the fuzz targets reach.
    target_compile_options(mnemira_instrumentation INTERFACE -fsanitize=fuzzer-no-link)
endif()

# The layer table: MNEMIRA_LAYER_<module> = its layer number.
file(STRINGS ${PROJECT_SOURCE_DIR}/src/layers.txt layer_lines REGEX "^[0-9]")
foreach(line IN LISTS layer_lines)
    string(REGEX MATCHALL "[^ \t]+" words "${line}")
    list(POP_FRONT words layer)
    foreach(module IN LISTS words)
        set(MNEMIRA_LAYER_${module} ${layer})
    endforeach()
endforeach()

# An executable of ours (game, tools, tests, benchmarks).
function(mnemira_program name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE mnemira_warnings mnemira_instrumentation)
    if(MNEMIRA_TSAN)
        target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/tsan_suppressions.cpp)
    endif()
endfunction()

# mnemira_module(<module> SOURCES … [MODULES <lower modules>] [LIBS <other libraries>])
# The library mnemira_<module> from src/<module>. Its include folder holds only its own
# headers (as "<module>/…"), so code can include just what it links, and it links only modules
# of lower layers.
function(mnemira_module module)
    cmake_parse_arguments(ARG "" "" "SOURCES;MODULES;LIBS" ${ARGN})
    if(NOT DEFINED MNEMIRA_LAYER_${module})
        message(FATAL_ERROR "module ${module} is not in src/layers.txt")
    endif()
    add_library(mnemira_${module} STATIC ${ARG_SOURCES})
    set(root ${PROJECT_BINARY_DIR}/include/${module})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${module} SYMBOLIC)
    target_include_directories(mnemira_${module} PUBLIC ${root})
    foreach(lower IN LISTS ARG_MODULES)
        if(NOT MNEMIRA_LAYER_${lower} LESS MNEMIRA_LAYER_${module})
            message(FATAL_ERROR "${module} (layer ${MNEMIRA_LAYER_${module}}) may not use "
                "${lower} (layer ${MNEMIRA_LAYER_${lower}}): see src/layers.txt")
        endif()
        target_link_libraries(mnemira_${module} PUBLIC mnemira_${lower})
    endforeach()
    target_link_libraries(mnemira_${module}
        PUBLIC ${ARG_LIBS} PRIVATE mnemira_warnings mnemira_instrumentation)
endfunction()
