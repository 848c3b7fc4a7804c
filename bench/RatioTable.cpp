#include "RatioTable.h"

#include <cstdio>

void MedianCollector::ReportRuns(const std::vector<Run> &runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs) {
        if (run.error_occurred)
            continue;
        // With one repetition there is no aggregate: the run itself is the median.
        bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        if (!median && !single)
            continue;
        double toMs = 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
        Median m;
        m.cpuMs = run.GetAdjustedCPUTime() * toMs;
        m.realMs = run.GetAdjustedRealTime() * toMs;
        m_medians[run.run_name.function_name] = m;
    }
}

void printRatioTable(const std::map<std::string, Median> &medians,
                     const std::vector<RatioRow> &rows) {
    std::printf(
        "\nKelp against the machine's limits: medians of the repetitions, CPU time in "
        "ms;\nratio = Kelp time / limit time, by CPU time (cpu x) and wall time (real x)\n");
    std::printf("%-16s %-40s %10s %10s %7s %7s %7s  %s\n", "detail", "operation / limit", "Kelp ms",
                "limit ms", "cpu x", "real x", "target", "");
    for (const RatioRow &row : rows) {
        auto k = medians.find(row.subject + "/" + row.kelpOp);
        auto l = medians.find(row.subject + "/" + row.limitOp);
        if (k == medians.end() || l == medians.end() || l->second.cpuMs <= 0)
            continue;
        double cpu = k->second.cpuMs / l->second.cpuMs;
        double real = k->second.realMs / l->second.realMs;
        char target[16] = "-";
        const char *verdict = "";
        if (row.target > 0) {
            std::snprintf(target, sizeof(target), "%.2f", row.target);
            verdict = cpu > row.target    ? "MISSED"
                      : real > row.target ? "met (wall time over)"
                                          : "met";
        }
        std::printf("%-16s %-40s %10.2f %10.2f %7.2f %7.2f %7s  %s\n", row.subject.c_str(),
                    row.label.c_str(), k->second.cpuMs, l->second.cpuMs, cpu, real, target,
                    verdict);
    }
    std::fflush(stdout);
}
