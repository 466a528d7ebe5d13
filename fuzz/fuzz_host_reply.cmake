target_link_libraries(${stem} PRIVATE hostlink)
