# Start-to-exit timings of Sequa --check against Sequa --version.
add_dependencies(${stem} Sequa)
target_compile_definitions(${stem} PRIVATE SEQUA_EXE="$<TARGET_FILE:Sequa>"
    LUMEN_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples")
