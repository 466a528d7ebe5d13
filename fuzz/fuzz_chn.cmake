target_link_libraries(${stem} PRIVATE spectra)
# A full 16384-channel spectrum with its header and trailer, and a little more.
set(max_len 70000)
