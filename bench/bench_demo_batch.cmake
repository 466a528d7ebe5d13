# The demo's three-sample batch at 600x, played by the built Sequa beside Ledgerly.
add_dependencies(${stem} Sequa Ledgerly)
target_compile_definitions(${stem} PRIVATE SEQUA_EXE="$<TARGET_FILE:Sequa>"
    LEDGERLY_EXE="$<TARGET_FILE:Ledgerly>" LUMEN_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples")
