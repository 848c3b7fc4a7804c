// Collects the medians of the benchmark repetitions and prints, after the
// run, one line per Kelp operation with its time, the time of the machine's
// limit on the same bytes, their ratio and the target.
#ifndef KELP_BENCH_RATIO_TABLE_H
#define KELP_BENCH_RATIO_TABLE_H

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

struct Median {
    double cpuMs = 0;
    double realMs = 0;
};

// Console output as usual, and the medians kept by benchmark name.
class MedianCollector : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override;
    const std::map<std::string, Median> &medians() const { return m_medians; }

private:
    std::map<std::string, Median> m_medians;
};

struct RatioRow {
    std::string subject; // e.g. "mesh 1M"
    std::string kelpOp;  // benchmark name suffix of Kelp's call
    std::string limitOp; // ... and of the limit it is measured against
    std::string label;   // what the line says
    double target;       // 0: informational
};

// Prints the table; rows whose benchmarks did not run are left out.
void printRatioTable(const std::map<std::string, Median> &medians,
                     const std::vector<RatioRow> &rows);

#endif
