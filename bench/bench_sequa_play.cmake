target_link_libraries(${stem} PRIVATE hostsim_core sequa_core)
