target_link_libraries(${stem} PRIVATE ledgerly_core)
# More than 100 nuclide blocks, or 25 rows in one block.
set(max_len 32768)
