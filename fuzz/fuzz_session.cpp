// The link session under arbitrary event streams (see SessionDriver.h).
#include "fuzz/SessionDriver.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    session_fuzz::Stream stream(data, size);
    session_fuzz::Driver driver(stream);
    if (!driver.run()) {
        std::fprintf(stderr, "session invariant broken: %s\n", driver.failure().c_str());
        std::abort();
    }
    return 0;
}
