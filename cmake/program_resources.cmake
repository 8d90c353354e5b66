# Resources of the Windows programs, from one template and the project's version.
enable_language(RC)

# Gives TARGET the program icon and a version resource that DESCRIPTION describes;
# MANIFEST names a manifest file to embed as well.
function(sumwright_program_resources target description)
    cmake_parse_arguments(PARSE_ARGV 2 ARG "" "MANIFEST" "")
    set(program_name ${target})
    set(program_description "${description}")
    set(program_icon ${PROJECT_SOURCE_DIR}/src/winapp/sumwright.ico)
    set(program_manifest "")
    if(ARG_MANIFEST)
        set(program_manifest "CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"${ARG_MANIFEST}\"")
    endif()
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/program.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    # windres reads the files the script names; a change to one rebuilds it.
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${program_icon};${ARG_MANIFEST}")
endfunction()
