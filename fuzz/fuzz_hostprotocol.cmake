# The protocol lives in the host link and is served by the simulated host: instrument both.
target_compile_options(hostlink PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
target_compile_options(hostsim_core PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
target_link_libraries(${stem} PRIVATE hostsim_core)
