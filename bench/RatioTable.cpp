#include "RatioTable.h"

#include <algorithm>
#include <cstdio>

namespace {

double maxOf(const std::vector<double> &v) {
    return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
}

struct Ratio {
    const Median *kelp = nullptr;
    const Median *limit = nullptr;
    double cpu = 0, real = 0;
};

// Kelp's row and its limit's, or no kelp when either did not run.
Ratio ratioOf(const std::map<std::string, Median> &medians, const RatioRow &row) {
    Ratio r;
    auto k = medians.find(row.subject + "/" + row.kelpOp);
    const std::string &limitSubject = row.limitSubject.empty() ? row.subject : row.limitSubject;
    auto l = medians.find(limitSubject + "/" + row.limitOp);
    if (k == medians.end() || l == medians.end() || l->second.cpuMs <= 0 || l->second.realMs <= 0)
        return r;
    r.kelp = &k->second;
    r.limit = &l->second;
    r.cpu = r.kelp->cpuMs / r.limit->cpuMs;
    r.real = r.kelp->realMs / r.limit->realMs;
    return r;
}

const char *verdict(const RatioRow &row, const Ratio &r) {
    if (row.target <= 0)
        return "";
    const double judged = row.byWall ? r.real : r.cpu, other = row.byWall ? r.cpu : r.real;
    if (judged > row.target)
        return "MISSED";
    if (other > row.target)
        return row.byWall ? "met (cpu over)" : "met (wall over)";
    return "met";
}

void targetText(char *out, std::size_t size, double target) {
    if (target > 0)
        std::snprintf(out, size, "%.2f", target);
    else
        std::snprintf(out, size, "-");
}

void printMemory(const LoadMemory &m) {
    const double mib = 1024.0 * 1024.0;
    if (!m.ok) {
        std::printf("  (no memory figure: the load failed)\n");
        return;
    }
    const double target = peakTarget(m);
    std::printf(" %9.1f %9.1f %9.1f %5.2f %s\n", m.peakBytes / mib, m.modelBytes / mib,
                target / mib, m.peakBytes / (m.modelBytes ? double(m.modelBytes) : 1.0),
                m.peakBytes <= target ? "met" : "MISSED");
}

} // namespace

benchmark::internal::Benchmark *withMax(benchmark::internal::Benchmark *b) {
    return b->ComputeStatistics("max", maxOf);
}

void MedianCollector::ReportRuns(const std::vector<Run> &runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs) {
        if (run.error_occurred)
            continue;
        // With one repetition there is no aggregate: the run is median and max.
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        const bool max = run.run_type == Run::RT_Aggregate && run.aggregate_name == "max";
        if (!median && !max && !single)
            continue;
        const double toMs = 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
        const double cpu = run.GetAdjustedCPUTime() * toMs, real = run.GetAdjustedRealTime() * toMs;
        Median &m = m_medians[run.run_name.function_name];
        if (median || single) {
            m.cpuMs = cpu;
            m.realMs = real;
        }
        if (max || single) {
            m.maxCpuMs = cpu;
            m.maxRealMs = real;
        }
    }
}

void printRatioTable(const std::map<std::string, Median> &medians,
                     const std::vector<RatioRow> &rows) {
    std::printf(
        "\nKelp against the machine's limits: medians of the repetitions, CPU time in "
        "ms;\nratio = Kelp time / limit time, by CPU time (cpu x) and wall time (real x)\n");
    std::printf("%-16s %-44s %10s %10s %7s %7s %7s  %s\n", "detail", "operation / limit", "Kelp ms",
                "limit ms", "cpu x", "real x", "target", "");
    for (const RatioRow &row : rows) {
        const Ratio r = ratioOf(medians, row);
        if (!r.kelp)
            continue;
        char target[16];
        targetText(target, sizeof(target), row.target);
        std::printf("%-16s %-44s %10.2f %10.2f %7.2f %7.2f %7s  %s\n", row.subject.c_str(),
                    row.label.c_str(), r.kelp->cpuMs, r.limit->cpuMs, r.cpu, r.real, target,
                    verdict(row, r));
    }
    std::fflush(stdout);
}

void printLoadTable(const std::map<std::string, Median> &medians,
                    const std::vector<LoadRow> &rows) {
    std::printf("\nLoads against their limits (medians, CPU ms), their max/median over the "
                "repetitions (CPU time),\nand the peak resident memory of one load in a child "
                "process against 1.05 x model + 4 MiB (MiB)\n");
    std::printf("%-14s %-34s %9s %9s %6s %6s %-21s %7s %-12s %9s %9s %9s %5s\n", "detail",
                "load / limit", "Kelp ms", "limit ms", "cpu x", "real x", "target", "max/med",
                "target", "peak", "model", "target", "x");
    for (const LoadRow &row : rows) {
        const Ratio r = ratioOf(medians, row.ratio);
        if (!r.kelp)
            continue;
        char target[32], steady[32];
        targetText(target, sizeof(target), row.ratio.target);
        const double maxMed = r.kelp->maxCpuMs / r.kelp->cpuMs;
        const char *steadyVerdict = row.steadyTarget <= 0        ? ""
                                    : maxMed <= row.steadyTarget ? "met"
                                                                 : "MISSED";
        targetText(steady, sizeof(steady), row.steadyTarget);
        std::printf("%-14s %-34s %9.2f %9.2f %6.2f %6.2f %-5s %-15s %7.2f %-5s %-6s",
                    row.ratio.subject.c_str(), row.ratio.label.c_str(), r.kelp->cpuMs,
                    r.limit->cpuMs, r.cpu, r.real, target, verdict(row.ratio, r), maxMed, steady,
                    steadyVerdict);
        printMemory(row.memory);
    }
    std::fflush(stdout);
}

void printSteadiness(const std::map<std::string, Median> &medians) {
    std::printf("\nEvery row over its repetitions: median and max (ms) and max/median, by CPU "
                "time and by wall time\n");
    std::printf("%-40s %9s %9s %7s %9s %9s %7s\n", "benchmark", "cpu med", "cpu max", "max/med",
                "wall med", "wall max", "max/med");
    for (const auto &entry : medians) {
        const Median &m = entry.second;
        if (m.cpuMs <= 0 || m.realMs <= 0)
            continue;
        std::printf("%-40s %9.2f %9.2f %7.2f %9.2f %9.2f %7.2f\n", entry.first.c_str(), m.cpuMs,
                    m.maxCpuMs, m.maxCpuMs / m.cpuMs, m.realMs, m.maxRealMs,
                    m.maxRealMs / m.realMs);
    }
    std::fflush(stdout);
}
