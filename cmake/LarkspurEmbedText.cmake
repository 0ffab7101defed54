# larkspur_embed_text(<target> NAMESPACE <namespace> FILES <file>... SYMBOLS <symbol>...)
# Compiles each file into <target> as a NUL-terminated constant char array <namespace>::<symbol>
# and its length without the NUL, <namespace>::<symbol>Size (an int), regenerated whenever the file
# changes. The arrays are declared by a header of the target's own.
function(larkspur_embed_text target)
    cmake_parse_arguments(ARG "" "NAMESPACE" "FILES;SYMBOLS" ${ARGN})
    list(LENGTH ARG_FILES numFiles)
    list(LENGTH ARG_SYMBOLS numSymbols)
    if(NOT numFiles EQUAL numSymbols)
        message(FATAL_ERROR "larkspur_embed_text: ${numFiles} files but ${numSymbols} symbols")
    endif()
    math(EXPR last "${numFiles} - 1")
    foreach(i RANGE ${last})
        list(GET ARG_FILES ${i} file)
        list(GET ARG_SYMBOLS ${i} symbol)
        if(NOT EXISTS "${file}")
            message(FATAL_ERROR "larkspur_embed_text: ${file} does not exist")
        endif()
        set(output "${CMAKE_CURRENT_BINARY_DIR}/embedded/${ARG_NAMESPACE}_${symbol}.cpp")
        add_custom_command(
            OUTPUT "${output}"
            COMMAND "${CMAKE_COMMAND}" -DINPUT=${file} -DOUTPUT=${output} -DNAMESPACE=${ARG_NAMESPACE}
                    -DSYMBOL=${symbol} -P "${PROJECT_SOURCE_DIR}/cmake/EmbedTextFile.cmake"
            DEPENDS "${file}" "${PROJECT_SOURCE_DIR}/cmake/EmbedTextFile.cmake"
            COMMENT "Embedding ${file}"
            VERBATIM)
        target_sources(${target} PRIVATE "${output}")
    endforeach()
endfunction()
