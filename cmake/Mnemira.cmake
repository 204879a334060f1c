# What every target of ours shares: warnings and instrumentation as interface targets (so an
# option changes the flags of our own targets only), and the module function that builds one
# layer of src/ as a library that can see only the layers below it.

add_library(mnemira_warnings INTERFACE)
target_compile_options(mnemira_warnings INTERFACE -Wall -Wextra)
if(CMAKE_UNITY_BUILD)
    # A batch file includes our sources, so GCC takes their anonymous-namespace fixtures for a
    # header's and warns on every test derived from one.
    target_compile_options(mnemira_warnings INTERFACE -Wno-subobject-linkage)
endif()

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

# mnemira_module(<module> SOURCES … [HEADERS …] [MODULES <lower modules>] [LIBS …] [PRIVATE_LIBS …])
# The library mnemira_<module> from src/<module>. HEADERS are its public headers: the only ones
# its include folder offers other modules (as "<module>/…"); a module links only modules of lower
# layers. Its own sources see all of its headers, and so do the programs that test or measure it
# from inside, through mnemira_<module>_inside.
function(mnemira_module module)
    cmake_parse_arguments(ARG "" "" "SOURCES;HEADERS;MODULES;LIBS;PRIVATE_LIBS" ${ARGN})
    if(NOT DEFINED MNEMIRA_LAYER_${module})
        message(FATAL_ERROR "module ${module} is not in src/layers.txt")
    endif()
    add_library(mnemira_${module} STATIC ${ARG_SOURCES})
    # The public folder: a link for each public header, nothing else.
    set(public ${PROJECT_BINARY_DIR}/include/${module})
    file(REMOVE_RECURSE ${public})
    file(MAKE_DIRECTORY ${public}/${module})
    foreach(header IN LISTS ARG_HEADERS)
        if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${header})
            message(FATAL_ERROR "${module}: public header ${header} does not exist")
        endif()
        file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${header} ${public}/${module}/${header}
            SYMBOLIC)
    endforeach()
    target_include_directories(mnemira_${module} PUBLIC ${public})
    # The inside folder: the whole source folder.
    set(inside ${PROJECT_BINARY_DIR}/include-inside/${module})
    file(MAKE_DIRECTORY ${inside})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${inside}/${module} SYMBOLIC)
    add_library(mnemira_${module}_inside INTERFACE)
    target_include_directories(mnemira_${module}_inside INTERFACE ${inside})
    target_link_libraries(mnemira_${module}_inside INTERFACE mnemira_${module})
    target_include_directories(mnemira_${module} PRIVATE ${inside})
    foreach(lower IN LISTS ARG_MODULES)
        if(NOT MNEMIRA_LAYER_${lower} LESS MNEMIRA_LAYER_${module})
            message(FATAL_ERROR "${module} (layer ${MNEMIRA_LAYER_${module}}) may not use "
                "${lower} (layer ${MNEMIRA_LAYER_${lower}}): see src/layers.txt")
        endif()
        target_link_libraries(mnemira_${module} PUBLIC mnemira_${lower})
    endforeach()
    target_link_libraries(mnemira_${module} PUBLIC ${ARG_LIBS}
        PRIVATE ${ARG_PRIVATE_LIBS} mnemira_warnings mnemira_instrumentation)
endfunction()
