target_link_libraries(${stem} PRIVATE transpec_core)
