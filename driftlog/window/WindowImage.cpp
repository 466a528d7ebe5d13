// The window module's bytes, placed in the executable at build time.
#include <cstddef>

__asm__(".section .rodata\n"
        ".balign 64\n"
        "driftlogWindowImageBegin:\n"
        ".incbin \"" DRIFTLOG_WINDOW_MODULE "\"\n"
        "driftlogWindowImageEnd:\n"
        ".previous\n");

extern "C" const char driftlogWindowImageBegin[];
extern "C" const char driftlogWindowImageEnd[];

const char *driftlogWindowImage(std::size_t *size)
{
    *size = std::size_t(driftlogWindowImageEnd - driftlogWindowImageBegin);
    return driftlogWindowImageBegin;
}
