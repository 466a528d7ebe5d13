// Gives each target its own -max_len unless the command line names one.
// Without it libFuzzer takes the longest seed as the limit (4096 bytes when
// the seeds are smaller), so a reader's chunk and record boundaries, which lie
// further on, would never be reached.
#include <cstring>
#include <string>
#include <vector>

#ifndef LUMEN_FUZZ_MAX_LEN
#error "LUMEN_FUZZ_MAX_LEN is set by fuzz/CMakeLists.txt"
#endif

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    for (int i = 1; i < *argc; ++i)
        if (std::strncmp((*argv)[i], "-max_len=", 9) == 0)
            return 0;
    // libFuzzer reads its flags from argv after this call, and keeps pointing
    // into it for the whole run: the copy must live as long as the process.
    static std::string option = "-max_len=" + std::to_string(LUMEN_FUZZ_MAX_LEN);
    static std::vector<char *> args;
    args.assign(*argv, *argv + *argc);
    args.push_back(option.data());
    args.push_back(nullptr);
    *argc += 1;
    *argv = args.data();
    return 0;
}
