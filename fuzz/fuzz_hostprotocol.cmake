target_link_libraries(${stem} PRIVATE simhost)
# A request with a long counts array, and ROI files of many lines.
set(max_len 16384)
