target_link_libraries(${stem} PRIVATE sequa_core)
target_include_directories(${stem} PRIVATE ${PROJECT_SOURCE_DIR}/sequa/tests)
