// libFuzzer target for the classic loader: any bytes (plain or gzip) must
// load or fail cleanly, never crash, hang or read outside the data.
#include <Kelp>

#include <cstddef>
#include <cstdint>

// Failures print one line each on standard error: fuzz/run passes
// -close_fd_mask=2 so that only the fuzzer's own output is shown.

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    Kelp detail;
    std::int32_t result = detail.loadBgeoFromMemory(data, size, "fuzz.bgeo");
    if (result == 1) {
        // What loaded is consistent: every polygon names points that exist.
        for (const PolygonData &p : detail.getPolygons()) {
            if (p.numberOfVertices != p.ids.size())
                __builtin_trap();
            for (std::uint32_t id : p.ids)
                if (id >= detail.getNumPoints())
                    __builtin_trap();
        }
    }
    return 0;
}
