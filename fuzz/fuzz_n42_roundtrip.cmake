target_link_libraries(${stem} PRIVATE spectra)
