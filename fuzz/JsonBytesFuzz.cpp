// libFuzzer target for the loader of Houdini's JSON-based format on raw
// bytes: any bytes (binary JSON, gzip, the Blosc container) must load or fail
// cleanly; what loads must pass the model checks.
#include "ModelChecks.h"

#include <Kelp>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    Kelp detail;
    if (detail.loadBgeoFromMemory(data, size, "fuzz.bgeo") == 1)
        kelpfuzz::trapOnProblem(detail);
    return 0;
}
