// libFuzzer target for the loader of Houdini's JSON-based format: any bytes
// (binary JSON, gzip, the Blosc container) must load or fail cleanly.
#include <Kelp>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    Kelp detail;
    detail.loadBgeoFromMemory(data, size, "fuzz.bgeo");
    return 0;
}
