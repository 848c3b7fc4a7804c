// Collects the medians and maxima of the benchmark repetitions and prints,
// after the run: one line per load with its ratio to its limit, its
// max/median and the peak memory of one load; one line per other pairing of
// a Kelp operation with a limit; and the median and max of every row.
#ifndef KELP_BENCH_RATIO_TABLE_H
#define KELP_BENCH_RATIO_TABLE_H

#include "PeakMemory.h"

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// One row's times over its repetitions, in ms (maxima 0 when not known).
struct Median {
    double cpuMs = 0;
    double realMs = 0;
    double maxCpuMs = 0;
    double maxRealMs = 0;
};

// Adds the "max" aggregate (the slowest repetition) to a benchmark.
benchmark::internal::Benchmark *withMax(benchmark::internal::Benchmark *b);

// Console output as usual, and the medians and maxima kept by benchmark name.
class MedianCollector : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override;
    const std::map<std::string, Median> &medians() const { return m_medians; }

private:
    std::map<std::string, Median> m_medians;
};

struct RatioRow {
    std::string subject;           // e.g. "mesh_1M"
    std::string kelpOp;            // benchmark name suffix of Kelp's call
    std::string limitOp;           // ... and of the limit it is measured against
    std::string label;             // what the line says
    double target;                 // 0: informational
    std::string limitSubject = {}; // the limit's detail, when not the subject
    bool byWall = false;           // judged by wall time (a limit on several threads)
};

// A load: its ratio to its limit, the target of its max/median (0: none) and
// the peak memory of one load of its file.
struct LoadRow {
    RatioRow ratio;
    double steadyTarget = 0;
    LoadMemory memory;
};

// Prints the table; rows whose benchmarks did not run are left out.
void printRatioTable(const std::map<std::string, Median> &medians,
                     const std::vector<RatioRow> &rows);

// The same for loads, with their max/median and peak memory.
void printLoadTable(const std::map<std::string, Median> &medians, const std::vector<LoadRow> &rows);

// Median, max and max/median of every row, by CPU and by wall time.
void printSteadiness(const std::map<std::string, Median> &medians);

#endif
