target_link_libraries(${stem} PRIVATE simhost sequa_core Qt6::Network)
