# The batch converter against cp, and opening a large spectrum in the window.
add_dependencies(${stem} Transpec)
target_link_libraries(${stem} PRIVATE transpec_gui)
target_compile_definitions(${stem} PRIVATE TRANSPEC_EXE="$<TARGET_FILE:Transpec>")
