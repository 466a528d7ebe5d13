target_link_libraries(${stem} PRIVATE driftlog_core)
# A whole report and a stability log of a few hundred lines.
set(max_len 16384)
