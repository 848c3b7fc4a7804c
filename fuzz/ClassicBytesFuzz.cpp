// libFuzzer target for the classic loader on raw bytes: any bytes (plain or
// gzip) must load or fail cleanly, never crash, hang or read outside the
// data; what loads must pass the model checks.
#include "ModelChecks.h"

#include <Kelp>

#include <cstddef>
#include <cstdint>

// Failures print one line each on standard error: fuzz/run passes
// -close_fd_mask=2 so that only the fuzzer's own output is shown.

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    Kelp detail;
    if (detail.loadBgeoFromMemory(data, size, "fuzz.bgeo") == 1)
        kelpfuzz::trapOnProblem(detail);
    return 0;
}
