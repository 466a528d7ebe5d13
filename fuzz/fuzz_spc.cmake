target_link_libraries(${stem} PRIVATE spectra)
# 128-byte records: a full 16384-channel data area behind the header records.
set(max_len 70000)
