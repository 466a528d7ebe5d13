target_link_libraries(${stem} PRIVATE ledgerly_core)
# The reader lives in the library: instrument it too, so the fuzzer sees its branches.
target_compile_options(ledgerly_core PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
