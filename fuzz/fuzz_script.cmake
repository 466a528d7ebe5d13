target_link_libraries(${stem} PRIVATE sequa_core)
# The play file is read in 64 KiB chunks: reach past the second boundary.
set(max_len 140000)
