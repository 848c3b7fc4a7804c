// Kelp's loader and saver against the machine's limits on the same bytes.
//
//   kelp_bench [--big] [--reps N] [--only particles|mesh|json] [benchmark flags]
//
// Generates the files once (see SyntheticFiles.h and JsonFiles.h), times
// loadBgeo and saveBgeo on classic .bgeo and .bgeo.gz and on JSON .bgeo and
// .bgeo.sc next to the limits, then prints the table of loads (ratio to the
// limit, max/median, peak memory of one load), the other ratios and the
// median and max of every row (see README.md).
#include "JsonFiles.h"
#include "MachineLimits.h"
#include "ParallelBlosc.h"
#include "PeakMemory.h"
#include "RatioTable.h"
#include "SameModel.h"
#include "StreamInflate.h"
#include "Subjects.h"
#include "SyntheticFiles.h"

#include <Kelp>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

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

void limitStreamInflate(benchmark::State &state, const std::string &gzPath, bool isal) {
    for (auto _ : state) {
        std::size_t n = isal ? isalStreamInflate(gzPath) : zlibStreamInflate(gzPath);
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

void limitBloscParallel(benchmark::State &state, const JsonSubject *s, unsigned threads) {
    for (auto _ : state) {
        std::uint64_t check =
            bloscPlaceParallel(s->file.bloscPath, s->file.streamBytes, s->file.arrays, threads);
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

// Registers one row of a subject: fixed iterations and repetitions, wall
// time, the CPU time of the whole process (all threads), median and max.
benchmark::internal::Benchmark *addRow(const std::string &subject, const char *op, int iterations,
                                       int reps, std::function<void(benchmark::State &)> fn) {
    return withMax(benchmark::RegisterBenchmark((subject + "/" + op).c_str(), std::move(fn))
                       ->Iterations(iterations)
                       ->Repetitions(reps)
                       ->DisplayAggregatesOnly(reps > 1)
                       ->Unit(benchmark::kMillisecond)
                       ->UseRealTime()
                       ->MeasureProcessCPUTime());
}

void registerAll(const Subject *s, int reps) {
    auto add = [&](const char *op, std::function<void(benchmark::State &)> fn) {
        addRow(s->name, op, s->iterations, reps, std::move(fn));
    };
    const std::string &plain = s->file.plainPath;
    const std::string &gz = s->file.gzipPath;
    add("load_bgeo", [=](benchmark::State &st) { loadFile(st, plain); });
    add("limit_read_swap", [=](benchmark::State &st) { limitReadSwap(st, plain, true, false); });
    add("limit_read_swap_huge",
        [=](benchmark::State &st) { limitReadSwap(st, plain, true, true); });
    add("limit_stream_swap", [=](benchmark::State &st) { limitReadSwap(st, plain, false, false); });
    add("load_gz", [=](benchmark::State &st) { loadFile(st, gz); });
    add("limit_stream_inflate", [=](benchmark::State &st) { limitStreamInflate(st, gz, false); });
    if (haveIsal())
        add("limit_stream_isal", [=](benchmark::State &st) { limitStreamInflate(st, gz, true); });
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
    auto add = [&](const char *op, std::function<void(benchmark::State &)> fn) {
        addRow(s->name, op, s->iterations, reps, std::move(fn));
    };
    const std::string &plain = s->file.plainPath;
    const std::string &sc = s->file.bloscPath;
    add("load_bgeo", [=](benchmark::State &st) { loadFile(st, plain); });
    add("limit_read_swap", [=](benchmark::State &st) { limitJsonReadSwap(st, s, false); });
    add("limit_read_swap_huge", [=](benchmark::State &st) { limitJsonReadSwap(st, s, true); });
    add("load_sc", [=](benchmark::State &st) { loadFile(st, sc); });
    add("limit_blosc_swap_1t", [=](benchmark::State &st) { limitBloscParallel(st, s, 1); });
    add("limit_blosc_swap_2t", [=](benchmark::State &st) { limitBloscParallel(st, s, 2); });
    add("limit_blosc_swap", [=](benchmark::State &st) { limitBloscSwap(st, s, false); });
    add("limit_blosc_swap_huge", [=](benchmark::State &st) { limitBloscSwap(st, s, true); });
    add("limit_blosc", [=](benchmark::State &st) { limitBlosc(st, s); });
    add("save_bgeo", [=](benchmark::State &st) { saveJson(st, s, s->saveBgeo); });
    add("limit_gather_write", [=](benchmark::State &st) { limitJsonGatherWrite(st, s, false); });
    add("limit_gather_write_fsync",
        [=](benchmark::State &st) { limitJsonGatherWrite(st, s, true); });
    add("save_sc", [=](benchmark::State &st) { saveJson(st, s, s->saveSc); });
    add("limit_blosc_compress", [=](benchmark::State &st) { limitBloscCompress(st, s); });
}

std::vector<std::uint32_t> sizesFor(bool big) {
    std::vector<std::uint32_t> sizes = {100000, 1000000};
    if (big)
        sizes.push_back(5000000);
    return sizes;
}

std::vector<std::unique_ptr<Subject>> classicSubjects(const std::string &only, bool big, int reps,
                                                      const std::string &cache) {
    std::vector<std::unique_ptr<Subject>> subjects;
    for (DetailKind kind : {DetailKind::Particles, DetailKind::Mesh}) {
        if (!only.empty() && only != kindName(kind))
            continue;
        for (std::uint32_t points : sizesFor(big)) {
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
    return subjects;
}

// The JSON meshes, each checked against the classic mesh of the same size
// (generated when missing) before it is compared with it.
std::vector<std::unique_ptr<JsonSubject>> jsonSubjects(const std::string &only, bool big, int reps,
                                                       const std::string &cache) {
    std::vector<std::unique_ptr<JsonSubject>> subjects;
    if (!only.empty() && only != "json")
        return subjects;
    for (std::uint32_t points : sizesFor(big)) {
        std::unique_ptr<JsonSubject> s(new JsonSubject);
        s->name = "json_" + sizeName(points);
        s->file = jsonMeshFile(points, cache);
        s->saveBgeo = cache + "/saved-" + s->name + ".bgeo";
        s->saveSc = cache + "/saved-" + s->name + ".bgeo.sc";
        s->limitOut = cache + "/limit-" + s->name + ".bgeo";
        s->reference = cache + "/reference-" + s->name + ".bgeo";
        s->iterations = points <= 100000 ? 10 : 1;
        s->classic = "mesh_" + sizeName(points);
        s->parallelTarget = points == 1000000;
        const SyntheticFile classic = syntheticFile(DetailKind::Mesh, points, cache);
        s->sameAsClassic = sameModel({classic.plainPath, s->file.plainPath, s->file.bloscPath});
        registerJson(s.get(), reps);
        subjects.push_back(std::move(s));
    }
    return subjects;
}

void removeOutputs(const std::vector<std::unique_ptr<Subject>> &subjects,
                   const std::vector<std::unique_ptr<JsonSubject>> &json) {
    for (const auto &s : subjects)
        for (const std::string *path : {&s->savePlain, &s->saveGzip, &s->limitOut})
            std::remove(path->c_str());
    for (const auto &s : json)
        for (const std::string *path : {&s->saveBgeo, &s->saveSc, &s->limitOut, &s->reference})
            std::remove(path->c_str());
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
    std::vector<std::unique_ptr<Subject>> subjects = classicSubjects(only, big, reps, cache);
    std::vector<std::unique_ptr<JsonSubject>> json = jsonSubjects(only, big, reps, cache);

    MedianCollector reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    g_detail.reset();
    g_bytes = Held();
    const std::map<std::string, Median> &medians = reporter.medians();
    printLoadTable(medians, loadRows(subjects, json, medians));
    std::vector<RatioRow> rows = ratioRows(subjects);
    std::vector<RatioRow> jsonRows = jsonRatioRows(json);
    rows.insert(rows.end(), jsonRows.begin(), jsonRows.end());
    printRatioTable(medians, rows);
    printSteadiness(medians);
    removeOutputs(subjects, json);
    benchmark::Shutdown();
    return 0;
}
