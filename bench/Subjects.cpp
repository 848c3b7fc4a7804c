#include "Subjects.h"

#include "PeakMemory.h"

std::vector<RatioRow> ratioRows(const std::vector<std::unique_ptr<Subject>> &subjects) {
    std::vector<RatioRow> rows;
    for (const auto &s : subjects) {
        rows.push_back(
            {s->name, "save_bgeo", "limit_gather_write", "save .bgeo / gather+write", 1.5});
        rows.push_back(
            {s->name, "save_gz", "limit_deflate", "save .bgeo.gz / zlib deflate 6", 1.1});
        rows.push_back({s->name, "save_bgeo", "limit_gather_write_fsync",
                        "(save .bgeo / gather+write+fsync)", 0});
        rows.push_back(
            {s->name, "load_bgeo", "limit_stream_swap", "(load .bgeo / streamed read+swap)", 0});
        rows.push_back({s->name, "load_bgeo", "limit_read_swap_huge",
                        "(load .bgeo / read+swap, 2 MiB pages)", 0});
        rows.push_back({s->name, "load_gz", "limit_inflate_swap",
                        "(load .bgeo.gz / streamed inflate+swap)", 0});
        rows.push_back(
            {s->name, "load_gz", "limit_inflate", "(load .bgeo.gz / one-shot inflate)", 0});
        rows.push_back({s->name, "load_gz", "limit_inflate_huge",
                        "(load .bgeo.gz / inflate, 2 MiB pages)", 0});
        rows.push_back({s->name, "limit_stream_swap", "limit_read_swap",
                        "(streamed read+swap / read+swap)", 0});
        rows.push_back({s->name, "limit_inflate_swap", "limit_stream_inflate",
                        "(streamed inflate+swap / streaming inflate)", 0});
        rows.push_back({s->name, "limit_stream_isal", "limit_stream_inflate",
                        "(ISA-L / zlib streaming inflate)", 0});
        rows.push_back(
            {s->name, "limit_libdeflate", "limit_inflate", "(libdeflate / zlib inflate)", 0});
    }
    return rows;
}

std::vector<RatioRow> jsonRatioRows(const std::vector<std::unique_ptr<JsonSubject>> &subjects) {
    std::vector<RatioRow> rows;
    for (const auto &s : subjects) {
        rows.push_back(
            {s->name, "save_bgeo", "limit_gather_write", "save JSON .bgeo / gather+write", 1.5});
        rows.push_back(
            {s->name, "save_sc", "limit_blosc_compress", "save .bgeo.sc / blosc compress", 1.3});
        rows.push_back({s->name, "save_bgeo", "limit_gather_write_fsync",
                        "(save JSON .bgeo / gather+write+fsync)", 0});
        rows.push_back({s->name, "load_bgeo", "limit_read_swap_huge",
                        "(JSON .bgeo / read+swap, 2 MiB pages)", 0});
        rows.push_back(
            {s->name, "load_sc", "limit_blosc_swap", "(.bgeo.sc / read+blosc whole+swap)", 0});
        rows.push_back({s->name, "load_sc", "limit_blosc_swap_huge",
                        "(.bgeo.sc / read+blosc+swap, 2 MiB pages)", 0});
        rows.push_back(
            {s->name, "load_sc", "limit_blosc", "(load .bgeo.sc / blosc decompress)", 0});
        rows.push_back({s->name,
                        "limit_blosc_swap_2t",
                        "limit_blosc_swap_1t",
                        "(blosc+swap 2 threads / 1 thread)",
                        0,
                        {},
                        true});
        rows.push_back(
            {s->name, "limit_blosc_swap", "limit_read_swap", "(read+blosc+swap / read+swap)", 0});
    }
    return rows;
}

namespace {

// Every load against its limit, with its max/median and the peak memory of
// one load of its file (one child process per file).
class LoadRows {
public:
    void add(const RatioRow &ratio, double steadyTarget, const std::string &path) {
        m_rows.push_back({ratio, steadyTarget, memoryOf(path)});
    }
    const std::vector<LoadRow> &rows() const { return m_rows; }

private:
    LoadMemory memoryOf(const std::string &path) {
        auto found = m_memory.find(path);
        if (found != m_memory.end())
            return found->second;
        return m_memory[path] = measureLoadMemory(executableDir() + "/kelp_bench_load_once", path);
    }

    std::vector<LoadRow> m_rows;
    std::map<std::string, LoadMemory> m_memory;
};

bool ran(const std::map<std::string, Median> &medians, const std::string &name) {
    return medians.count(name) != 0;
}

void classicLoadRows(LoadRows &out, const std::vector<std::unique_ptr<Subject>> &subjects,
                     const std::map<std::string, Median> &medians) {
    for (const auto &s : subjects) {
        if (ran(medians, s->name + "/load_bgeo"))
            out.add({s->name, "load_bgeo", "limit_read_swap", ".bgeo / read+swap", 1.2}, 1.3,
                    s->file.plainPath);
        if (!ran(medians, s->name + "/load_gz"))
            continue;
        out.add({s->name, "load_gz", "limit_stream_inflate", ".bgeo.gz / zlib stream inflate", 1.1},
                1.3, s->file.gzipPath);
        out.add({s->name, "load_gz", "limit_stream_isal", ".bgeo.gz / ISA-L stream inflate", 1.1},
                1.3, s->file.gzipPath);
    }
}

void jsonLoadRows(LoadRows &out, const std::vector<std::unique_ptr<JsonSubject>> &subjects,
                  const std::map<std::string, Median> &medians) {
    for (const auto &s : subjects) {
        if (ran(medians, s->name + "/load_bgeo")) {
            out.add({s->name, "load_bgeo", "limit_read_swap", "JSON .bgeo / read+swap", 1.2}, 0,
                    s->file.plainPath);
            if (s->sameAsClassic)
                out.add({s->name, "load_bgeo", "load_bgeo", "JSON .bgeo / classic .bgeo", 1.3,
                         s->classic},
                        0, s->file.plainPath);
        }
        if (!ran(medians, s->name + "/load_sc"))
            continue;
        const double scTarget = s->parallelTarget ? 1.2 : 0;
        out.add({s->name,
                 "load_sc",
                 "limit_blosc_swap_2t",
                 ".bgeo.sc / blosc+swap 2 threads",
                 scTarget,
                 {},
                 true},
                0, s->file.bloscPath);
        out.add({s->name, "load_sc", "limit_blosc_swap_1t", ".bgeo.sc / blosc+swap 1 thread", 0}, 0,
                s->file.bloscPath);
    }
}

} // namespace

std::vector<LoadRow> loadRows(const std::vector<std::unique_ptr<Subject>> &subjects,
                              const std::vector<std::unique_ptr<JsonSubject>> &json,
                              const std::map<std::string, Median> &medians) {
    LoadRows rows;
    classicLoadRows(rows, subjects, medians);
    jsonLoadRows(rows, json, medians);
    return rows.rows();
}
