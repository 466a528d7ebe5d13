target_link_libraries(${stem} PRIVATE spectra)
# More than 16384 one-digit counts, past what the store holds.
set(max_len 70000)
