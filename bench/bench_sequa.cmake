target_link_libraries(${stem} PRIVATE sequa_core)
