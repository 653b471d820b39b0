// Arbitrary bytes as a recent list file: loading must either fail with a
// report or give records that survive write and read unchanged.

#include "projectfilelist_check.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (const char *failure = vexa::projectfilemgr::fuzzcheck::checkRoundTrip(data, size)) {
        std::fprintf(stderr, "round trip failed: %s\n", failure);
        std::abort();
    }
    return 0;
}
