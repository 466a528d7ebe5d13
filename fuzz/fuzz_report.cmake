target_link_libraries(${stem} PRIVATE ledgerly_core)
