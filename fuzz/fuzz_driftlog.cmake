target_link_libraries(${stem} PRIVATE driftlog_core)
