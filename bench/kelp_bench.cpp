// Kelp's loader and saver against the machine's limits on the same bytes.
//
//   kelp_bench [--big] [--reps N] [--only particles|mesh|json] [benchmark flags]
//
// Generates the files once (see SyntheticFiles.h and JsonFiles.h), times
// loadBgeo and saveBgeo on classic .bgeo and .bgeo.gz and on JSON .bgeo and
// .bgeo.sc next to the limits, then prints the table of ratios and the peak
// memory of a load.
#include "JsonFiles.h"
#include "MachineLimits.h"
#include "ModelBytes.h"
#include "PeakMemory.h"
#include "RatioTable.h"
#include "SyntheticFiles.h"

#include <Kelp>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Subject {
    std::string name; // e.g. "mesh_1M"
    SyntheticFile file;
    std::string savePlain, saveGzip, limitOut;
    int iterations;
};

// A JSON-based mesh: loaded from the generated files, and the loaded detail
// saved as JSON .bgeo and .bgeo.sc.
struct JsonSubject {
    std::string name; // e.g. "json_1M"
    JsonFile file;
    std::string saveBgeo, saveSc, limitOut, reference;
    std::vector<unsigned char> stream; // Kelp's JSON .bgeo of the detail, once
    int iterations;
};

// One file's bytes and one loaded detail are kept at a time, for the set-up
// of the benchmarks that need them (not timed).
struct Held {
    std::string path;
    std::vector<unsigned char> bytes;
};
Held g_bytes;
std::string g_detailPath;
std::unique_ptr<Kelp> g_detail;

const std::vector<unsigned char> &bytesOf(const std::string &path) {
    if (g_bytes.path != path) {
        g_bytes.bytes.clear();
        g_bytes.bytes.shrink_to_fit();
        g_bytes.bytes = readWholeFile(path);
        g_bytes.path = path;
    }
    return g_bytes.bytes;
}

Kelp *detailOf(const std::string &path) {
    if (g_detailPath != path) {
        g_detail.reset(new Kelp);
        g_detailPath = path;
        if (!g_detail->loadBgeo(path))
            g_detail.reset();
    }
    return g_detail.get();
}

void loadFile(benchmark::State &state, const std::string &path) {
    {
        Kelp probe;
        if (!probe.loadBgeo(path)) {
            state.SkipWithError("loadBgeo failed");
            return;
        }
    }
    for (auto _ : state) {
        Kelp detail;
        int ok = detail.loadBgeo(path);
        benchmark::DoNotOptimize(ok);
        benchmark::ClobberMemory();
    }
}

void saveFile(benchmark::State &state, const Subject *s, const std::string &out) {
    Kelp *detail = detailOf(s->file.plainPath);
    if (!detail) {
        state.SkipWithError("loadBgeo failed");
        return;
    }
    for (auto _ : state) {
        int ok = detail->saveBgeo(out);
        benchmark::DoNotOptimize(ok);
        if (!ok)
            state.SkipWithError("saveBgeo failed");
    }
}

void limitReadSwap(benchmark::State &state, const std::string &path, bool wholeFile, bool huge) {
    for (auto _ : state) {
        std::uint64_t check = readAndSwap(path, wholeFile, huge);
        benchmark::DoNotOptimize(check);
        if (!check)
            state.SkipWithError("the generated file did not parse");
    }
}

void limitInflateSwap(benchmark::State &state, const std::string &gzPath) {
    for (auto _ : state) {
        std::uint64_t check = inflateAndSwap(gzPath);
        benchmark::DoNotOptimize(check);
        if (!check)
            state.SkipWithError("the generated file did not parse");
    }
}

void limitInflate(benchmark::State &state, const std::string &gzPath, bool libdeflate, bool huge) {
    const std::vector<unsigned char> &gz = bytesOf(gzPath);
    for (auto _ : state) {
        std::size_t n = libdeflate ? libdeflateInflateWhole(gz) : inflateWhole(gz, huge);
        benchmark::DoNotOptimize(n);
        if (!n)
            state.SkipWithError("inflate failed");
    }
}

void limitDeflate(benchmark::State &state, const std::string &plainPath) {
    const std::vector<unsigned char> &plain = bytesOf(plainPath);
    for (auto _ : state) {
        std::size_t n = deflateWhole(plain, Z_DEFAULT_COMPRESSION);
        benchmark::DoNotOptimize(n);
        if (!n)
            state.SkipWithError("deflate failed");
    }
}

void limitGatherWrite(benchmark::State &state, const Subject *s, bool sync) {
    const Kelp *detail = detailOf(s->file.plainPath);
    if (!detail) {
        state.SkipWithError("loadBgeo failed");
        return;
    }
    for (auto _ : state) {
        std::size_t n = gatherAndWrite(*detail, s->limitOut, sync);
        benchmark::DoNotOptimize(n);
        if (!n)
            state.SkipWithError("write failed");
    }
}

void saveJson(benchmark::State &state, const JsonSubject *s, const std::string &out) {
    Kelp *detail = detailOf(s->file.plainPath);
    if (!detail) {
        state.SkipWithError("loadBgeo failed");
        return;
    }
    for (auto _ : state) {
        int ok = detail->saveBgeo(out, KelpFormat::Json);
        benchmark::DoNotOptimize(ok);
        if (!ok)
            state.SkipWithError("saveBgeo failed");
    }
}

// The stream Kelp's JSON .bgeo save writes for the subject's detail, saved
// once in set-up: its size for the gather-and-write limit, its bytes for the
// compression limit.
const std::vector<unsigned char> *savedStream(JsonSubject *s) {
    if (s->stream.empty()) {
        Kelp *detail = detailOf(s->file.plainPath);
        if (!detail || !detail->saveBgeo(s->reference, KelpFormat::Json))
            return nullptr;
        s->stream = readWholeFile(s->reference);
    }
    return s->stream.empty() ? nullptr : &s->stream;
}

void limitJsonGatherWrite(benchmark::State &state, JsonSubject *s, bool sync) {
    const std::vector<unsigned char> *stream = savedStream(s);
    const Kelp *detail = detailOf(s->file.plainPath);
    if (!stream || !detail) {
        state.SkipWithError("the reference save failed");
        return;
    }
    for (auto _ : state) {
        std::size_t n = jsonGatherAndWrite(*detail, stream->size(), s->limitOut, sync);
        benchmark::DoNotOptimize(n);
        if (n != stream->size())
            state.SkipWithError("write failed");
    }
}

void limitBloscCompress(benchmark::State &state, JsonSubject *s) {
    const std::vector<unsigned char> *stream = savedStream(s);
    if (!stream) {
        state.SkipWithError("the reference save failed");
        return;
    }
    for (auto _ : state) {
        std::size_t n = bloscCompressWhole(*stream, 0);
        benchmark::DoNotOptimize(n);
        if (!n)
            state.SkipWithError("compression failed");
    }
}

void limitJsonReadSwap(benchmark::State &state, const JsonSubject *s, bool huge) {
    for (auto _ : state) {
        std::uint64_t check = jsonReadSwap(s->file.plainPath, s->file.arrays, huge);
        benchmark::DoNotOptimize(check);
        if (!check)
            state.SkipWithError("the generated file could not be read");
    }
}

void limitBloscSwap(benchmark::State &state, const JsonSubject *s, bool huge) {
    for (auto _ : state) {
        std::uint64_t check =
            bloscReadSwap(s->file.bloscPath, s->file.streamBytes, s->file.arrays, huge);
        benchmark::DoNotOptimize(check);
        if (!check)
            state.SkipWithError("the generated container did not decompress");
    }
}

void limitBlosc(benchmark::State &state, const JsonSubject *s) {
    const std::vector<unsigned char> &sc = bytesOf(s->file.bloscPath);
    for (auto _ : state) {
        std::size_t n = bloscDecompressWhole(sc, s->file.streamBytes);
        benchmark::DoNotOptimize(n);
        if (n != s->file.streamBytes)
            state.SkipWithError("the generated container did not decompress");
    }
}

std::string sizeName(std::uint32_t points) {
    return points % 1000000 == 0 ? std::to_string(points / 1000000) + "M"
                                 : std::to_string(points / 1000) + "k";
}

void registerAll(const Subject *s, int reps) {
    auto add = [&](const char *op, auto &&fn) {
        benchmark::RegisterBenchmark((s->name + "/" + op).c_str(), fn)
            ->Iterations(s->iterations)
            ->Repetitions(reps)
            ->DisplayAggregatesOnly(reps > 1)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    };
    const std::string &plain = s->file.plainPath;
    const std::string &gz = s->file.gzipPath;
    add("load_bgeo", [=](benchmark::State &st) { loadFile(st, plain); });
    add("limit_read_swap", [=](benchmark::State &st) { limitReadSwap(st, plain, true, false); });
    add("limit_read_swap_huge",
        [=](benchmark::State &st) { limitReadSwap(st, plain, true, true); });
    add("limit_stream_swap", [=](benchmark::State &st) { limitReadSwap(st, plain, false, false); });
    add("load_gz", [=](benchmark::State &st) { loadFile(st, gz); });
    add("limit_inflate", [=](benchmark::State &st) { limitInflate(st, gz, false, false); });
    add("limit_inflate_huge", [=](benchmark::State &st) { limitInflate(st, gz, false, true); });
    add("limit_inflate_swap", [=](benchmark::State &st) { limitInflateSwap(st, gz); });
    add("limit_libdeflate", [=](benchmark::State &st) { limitInflate(st, gz, true, false); });
    add("save_bgeo", [=](benchmark::State &st) { saveFile(st, s, s->savePlain); });
    add("limit_gather_write", [=](benchmark::State &st) { limitGatherWrite(st, s, false); });
    add("limit_gather_write_fsync", [=](benchmark::State &st) { limitGatherWrite(st, s, true); });
    add("save_gz", [=](benchmark::State &st) { saveFile(st, s, s->saveGzip); });
    add("limit_deflate", [=](benchmark::State &st) { limitDeflate(st, plain); });
}

void registerJson(JsonSubject *s, int reps) {
    auto add = [&](const char *op, auto &&fn) {
        return benchmark::RegisterBenchmark((s->name + "/" + op).c_str(), fn)
            ->Iterations(s->iterations)
            ->Repetitions(reps)
            ->DisplayAggregatesOnly(reps > 1)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    };
    const std::string &plain = s->file.plainPath;
    const std::string &sc = s->file.bloscPath;
    add("load_bgeo", [=](benchmark::State &st) { loadFile(st, plain); });
    add("limit_read_swap", [=](benchmark::State &st) { limitJsonReadSwap(st, s, false); });
    add("limit_read_swap_huge", [=](benchmark::State &st) { limitJsonReadSwap(st, s, true); });
    add("load_sc", [=](benchmark::State &st) { loadFile(st, sc); });
    add("limit_blosc_swap", [=](benchmark::State &st) { limitBloscSwap(st, s, false); });
    add("limit_blosc_swap_huge", [=](benchmark::State &st) { limitBloscSwap(st, s, true); });
    add("limit_blosc", [=](benchmark::State &st) { limitBlosc(st, s); });
    add("save_bgeo", [=](benchmark::State &st) { saveJson(st, s, s->saveBgeo); });
    add("limit_gather_write", [=](benchmark::State &st) { limitJsonGatherWrite(st, s, false); });
    add("limit_gather_write_fsync",
        [=](benchmark::State &st) { limitJsonGatherWrite(st, s, true); });
    // Compression runs on every hardware thread: CPU time is the whole
    // process's, so that "cpu x" compares the work of all threads.
    add("save_sc", [=](benchmark::State &st) {
        saveJson(st, s, s->saveSc);
    })->MeasureProcessCPUTime();
    add("limit_blosc_compress", [=](benchmark::State &st) {
        limitBloscCompress(st, s);
    })->MeasureProcessCPUTime();
}

std::vector<RatioRow> jsonRatioRows(const std::vector<std::unique_ptr<JsonSubject>> &subjects) {
    std::vector<RatioRow> rows;
    for (const auto &s : subjects) {
        rows.push_back(
            {s->name, "load_bgeo", "limit_read_swap", "load JSON .bgeo / read+swap", 1.5});
        rows.push_back(
            {s->name, "load_sc", "limit_blosc_swap", "load .bgeo.sc / read+blosc+swap", 1.5});
        rows.push_back({s->name, "load_bgeo", "limit_read_swap_huge",
                        "(JSON .bgeo / read+swap, 2 MiB pages)", 0});
        rows.push_back({s->name, "load_sc", "limit_blosc_swap_huge",
                        "(.bgeo.sc / read+blosc+swap, 2 MiB pages)", 0});
        rows.push_back(
            {s->name, "load_sc", "limit_blosc", "(load .bgeo.sc / blosc decompress)", 0});
        rows.push_back(
            {s->name, "limit_blosc_swap", "limit_read_swap", "(read+blosc+swap / read+swap)", 0});
        rows.push_back(
            {s->name, "save_bgeo", "limit_gather_write", "save JSON .bgeo / gather+write", 1.5});
        rows.push_back(
            {s->name, "save_sc", "limit_blosc_compress", "save .bgeo.sc / blosc compress", 1.3});
        rows.push_back({s->name, "save_bgeo", "limit_gather_write_fsync",
                        "(save JSON .bgeo / gather+write+fsync)", 0});
    }
    return rows;
}

std::vector<RatioRow> ratioRows(const std::vector<std::unique_ptr<Subject>> &subjects) {
    std::vector<RatioRow> rows;
    for (const auto &s : subjects) {
        rows.push_back({s->name, "load_bgeo", "limit_read_swap", "load .bgeo / read+swap", 1.5});
        rows.push_back({s->name, "load_gz", "limit_inflate", "load .bgeo.gz / zlib inflate", 1.15});
        rows.push_back(
            {s->name, "save_bgeo", "limit_gather_write", "save .bgeo / gather+write", 1.5});
        rows.push_back(
            {s->name, "save_gz", "limit_deflate", "save .bgeo.gz / zlib deflate 6", 1.1});
        rows.push_back({s->name, "save_bgeo", "limit_gather_write_fsync",
                        "(save .bgeo / gather+write+fsync)", 0});
        rows.push_back({s->name, "load_bgeo", "limit_read_swap_huge",
                        "(load .bgeo / read+swap, 2 MiB pages)", 0});
        rows.push_back({s->name, "load_gz", "limit_inflate_huge",
                        "(load .bgeo.gz / inflate, 2 MiB pages)", 0});
        rows.push_back({s->name, "limit_stream_swap", "limit_read_swap",
                        "(streamed read+swap / read+swap)", 0});
        rows.push_back({s->name, "limit_inflate_swap", "limit_inflate",
                        "(streamed inflate+swap / zlib inflate)", 0});
        rows.push_back(
            {s->name, "limit_libdeflate", "limit_inflate", "(libdeflate / zlib inflate)", 0});
    }
    return rows;
}

void printMemory(const std::vector<std::unique_ptr<Subject>> &subjects,
                 const std::map<std::string, Median> &medians) {
    const std::string driver = executableDir() + "/kelp_bench_load_once";
    std::printf("\nPeak memory of one load (resident high-water mark in a child process)\n");
    std::printf("%-16s %-8s %12s %12s %12s %7s %7s  %s\n", "detail", "file", "file MB", "model MB",
                "peak MB", "x", "target", "");
    for (const auto &s : subjects) {
        if (!medians.count(s->name + "/load_bgeo"))
            continue; // filtered out, or the load failed
        for (int gz = 0; gz < 2; ++gz) {
            const std::string &path = gz ? s->file.gzipPath : s->file.plainPath;
            LoadMemory m = measureLoadMemory(driver, path);
            if (!m.ok) {
                std::printf("%-16s %-8s (the load failed)\n", s->name.c_str(),
                            gz ? ".gz" : ".bgeo");
                continue;
            }
            double fileBytes = static_cast<double>(bytesOf(s->file.plainPath).size());
            double ratio = m.peakBytes / (fileBytes + m.modelBytes);
            std::printf("%-16s %-8s %12.1f %12.1f %12.1f %7.2f %7.2f  %s\n", s->name.c_str(),
                        gz ? ".gz" : ".bgeo", fileBytes / 1e6, m.modelBytes / 1e6,
                        m.peakBytes / 1e6, ratio, 1.2, ratio <= 1.2 ? "met" : "MISSED");
        }
    }
    std::fflush(stdout);
}

void printJsonMemory(const std::vector<std::unique_ptr<JsonSubject>> &subjects,
                     const std::map<std::string, Median> &medians) {
    const std::string driver = executableDir() + "/kelp_bench_load_once";
    for (const auto &s : subjects) {
        if (!medians.count(s->name + "/load_bgeo"))
            continue;
        for (int sc = 0; sc < 2; ++sc) {
            const std::string &path = sc ? s->file.bloscPath : s->file.plainPath;
            LoadMemory m = measureLoadMemory(driver, path);
            if (!m.ok) {
                std::printf("%-16s %-8s (the load failed)\n", s->name.c_str(),
                            sc ? ".sc" : ".bgeo");
                continue;
            }
            double fileBytes = static_cast<double>(s->file.streamBytes);
            double ratio = m.peakBytes / (fileBytes + m.modelBytes);
            std::printf("%-16s %-8s %12.1f %12.1f %12.1f %7.2f %7.2f  %s\n", s->name.c_str(),
                        sc ? ".sc" : ".bgeo", fileBytes / 1e6, m.modelBytes / 1e6,
                        m.peakBytes / 1e6, ratio, 1.2, ratio <= 1.2 ? "met" : "MISSED");
        }
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv) {
    // Every large block comes fresh from the system and goes back on free, so
    // each timed call pays the first touch of the memory it fills whatever ran
    // before it (glibc otherwise raises its thresholds as blocks are freed and
    // hands some calls memory that is already touched).
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024);
    bool big = false;
    int reps = 5;
    std::string only;
    std::vector<char *> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--big") == 0)
            big = true;
        else if (std::strcmp(argv[i], "--reps") == 0 && i + 1 < argc)
            reps = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc)
            only = argv[++i];
        else
            rest.push_back(argv[i]);
    }
    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    if (benchmark::ReportUnrecognizedArguments(restCount, rest.data()))
        return 2;

    const std::string cache = benchCacheDir();
    std::vector<std::uint32_t> sizes = {100000, 1000000};
    if (big)
        sizes.push_back(5000000);
    std::vector<std::unique_ptr<Subject>> subjects;
    for (DetailKind kind : {DetailKind::Particles, DetailKind::Mesh}) {
        if (!only.empty() && only != kindName(kind))
            continue;
        for (std::uint32_t points : sizes) {
            std::unique_ptr<Subject> s(new Subject);
            s->name = std::string(kindName(kind)) + "_" + sizeName(points);
            s->file = syntheticFile(kind, points, cache);
            s->savePlain = cache + "/saved-" + s->name + ".bgeo";
            s->saveGzip = cache + "/saved-" + s->name + ".bgeo.gz";
            s->limitOut = cache + "/limit-" + s->name + ".bgeo";
            s->iterations = points <= 100000 ? 10 : 1;
            registerAll(s.get(), reps);
            subjects.push_back(std::move(s));
        }
    }

    std::vector<std::unique_ptr<JsonSubject>> jsonSubjects;
    if (only.empty() || only == "json") {
        std::vector<std::uint32_t> jsonSizes = {1000000};
        if (big)
            jsonSizes.push_back(5000000);
        for (std::uint32_t points : jsonSizes) {
            std::unique_ptr<JsonSubject> s(new JsonSubject);
            s->name = "json_" + sizeName(points);
            s->file = jsonMeshFile(points, cache);
            s->saveBgeo = cache + "/saved-" + s->name + ".bgeo";
            s->saveSc = cache + "/saved-" + s->name + ".bgeo.sc";
            s->limitOut = cache + "/limit-" + s->name + ".bgeo";
            s->reference = cache + "/reference-" + s->name + ".bgeo";
            s->iterations = 1;
            registerJson(s.get(), reps);
            jsonSubjects.push_back(std::move(s));
        }
    }

    MedianCollector reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    g_detail.reset();
    std::vector<RatioRow> rows = ratioRows(subjects);
    std::vector<RatioRow> jsonRows = jsonRatioRows(jsonSubjects);
    rows.insert(rows.end(), jsonRows.begin(), jsonRows.end());
    printRatioTable(reporter.medians(), rows);
    printMemory(subjects, reporter.medians());
    printJsonMemory(jsonSubjects, reporter.medians());
    for (const auto &s : subjects) {
        std::remove(s->savePlain.c_str());
        std::remove(s->saveGzip.c_str());
        std::remove(s->limitOut.c_str());
    }
    for (const auto &s : jsonSubjects) {
        std::remove(s->saveBgeo.c_str());
        std::remove(s->saveSc.c_str());
        std::remove(s->limitOut.c_str());
        std::remove(s->reference.c_str());
    }
    benchmark::Shutdown();
    return 0;
}
