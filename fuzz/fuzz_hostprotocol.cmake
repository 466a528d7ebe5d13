target_link_libraries(${stem} PRIVATE hostsim_core)
