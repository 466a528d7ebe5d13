# The protocol and the simulated host live in the library: instrument it too.
target_compile_options(hostsim_core PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
target_link_libraries(${stem} PRIVATE hostsim_core)
