// The reader node's whole evaluation of one mesh frame on the stand-in host
// (its compute for outMesh: load, host arrays, mesh data), next to the bare
// load of the same file.
//
//   kelp_bench_node [--reps N] [benchmark flags]
#include "RatioTable.h"
#include "SyntheticFiles.h"

#include "nodes/KelpReaderNode.h"

#include "../host/src/core/Access.h"
#include "StandIn.h"

#include <Kelp>

#include <benchmark/benchmark.h>
#include <maya/MDGModifier.h>
#include <maya/MDataBlock.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnPlugin.h>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace kt = kelphost::testing;

namespace {

// A reader node set to read `path` at verbosity 0; returns its name.
std::string makeReader(const std::string &path) {
    MDGModifier mod;
    MStatus status;
    MObject node = mod.createNode(MString("KelpReaderNode"), &status);
    if (!status || !mod.doIt())
        return std::string();
    const std::string name = MFnDependencyNode(node).name().asChar();
    kt::setString(name + ".bgeoPath", path);
    kt::setInt(name + ".verbosity", 0);
    return name;
}

void nodeEvaluation(benchmark::State &state, const std::string &path) {
    kt::resetScene();
    const std::string reader = makeReader(path);
    const MPlug plug = kt::plug(reader + ".outMesh");
    if (reader.empty() || plug.isNull()) {
        state.SkipWithError("could not make a reader node");
        return;
    }
    MObject node = plug.node();
    MPxNode *user = MFnDependencyNode(node).userNode();
    MDataBlock block = kelphost::Access::block(kelphost::Access::get(node));
    if (!user || !user->compute(plug, block)) {
        state.SkipWithError("the reader node's compute failed");
        return;
    }
    if (kt::mesh(reader + ".outMesh").polygonCounts.empty()) {
        state.SkipWithError("the reader node gave no mesh");
        return;
    }
    for (auto _ : state) {
        MStatus status = user->compute(plug, block);
        benchmark::DoNotOptimize(status);
    }
    kt::resetScene();
}

void bareLoad(benchmark::State &state, const std::string &path) {
    for (auto _ : state) {
        Kelp detail;
        int ok = detail.loadBgeo(path);
        benchmark::DoNotOptimize(ok);
    }
}

} // namespace

int main(int argc, char **argv) {
    mallopt(M_MMAP_THRESHOLD, 256 * 1024); // as in kelp_bench: every large block is new
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024);
    int reps = 5;
    std::vector<char *> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--reps") == 0 && i + 1 < argc)
            reps = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc)
            ++i; // kelp_bench's options, given to both by bench/run
        else if (std::strcmp(argv[i], "--big") == 0)
            continue;
        else
            rest.push_back(argv[i]);
    }
    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    if (benchmark::ReportUnrecognizedArguments(restCount, rest.data()))
        return 2;

    global_doDebug = 0;
    kt::resetHost();
    MObject pluginObj = kt::pluginObject("kelpBench");
    MFnPlugin plugin(pluginObj, "Kelp", "1.5", "Any");
    if (!plugin.registerNode("KelpReaderNode", KelpReaderNode::id, KelpReaderNode::creator,
                             KelpReaderNode::initialize)) {
        std::fprintf(stderr, "could not register the reader node\n");
        return 1;
    }

    const std::string cache = benchCacheDir();
    std::vector<RatioRow> rows;
    for (std::uint32_t points : {100000u, 1000000u}) {
        const SyntheticFile file = syntheticFile(DetailKind::Mesh, points, cache);
        const std::string subject = points == 100000 ? "mesh_100k" : "mesh_1M";
        const std::string path = file.plainPath;
        for (const char *op : {"node_eval", "bare_load"}) {
            const bool node = op[0] == 'n';
            benchmark::RegisterBenchmark((subject + "/" + op).c_str(),
                                         [=](benchmark::State &st) {
                                             if (node)
                                                 nodeEvaluation(st, path);
                                             else
                                                 bareLoad(st, path);
                                         })
                ->Iterations(points <= 100000 ? 10 : 1)
                ->Repetitions(reps)
                ->DisplayAggregatesOnly(reps > 1)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
        rows.push_back({subject, "node_eval", "bare_load", "reader node outMesh / bare load", 3.0});
    }
    MedianCollector reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatioTable(reporter.medians(), rows);
    kt::resetHost();
    benchmark::Shutdown();
    return 0;
}
