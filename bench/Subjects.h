// The benchmark's subjects (one generated detail each, in classic or JSON
// form) and the rows of its tables built from them.
#ifndef KELP_BENCH_SUBJECTS_H
#define KELP_BENCH_SUBJECTS_H

#include "JsonFiles.h"
#include "RatioTable.h"
#include "SyntheticFiles.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

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
    std::string classic;         // the classic subject of the same mesh, e.g. "mesh_1M"
    bool sameAsClassic = false;  // its files load into the same model as the classic .bgeo
    bool parallelTarget = false; // .bgeo.sc judged against parallel Blosc (at 1M points)
};

// One file's bytes and one loaded detail are kept at a time, for the set-up

// The pairings of Kelp's saves with their limits, and the informational
// ratios (in brackets).
std::vector<RatioRow> ratioRows(const std::vector<std::unique_ptr<Subject>> &subjects);
std::vector<RatioRow> jsonRatioRows(const std::vector<std::unique_ptr<JsonSubject>> &subjects);

// Every load that ran against its limits, with its max/median target and the
// peak memory of one load of its file (one child process per file).
std::vector<LoadRow> loadRows(const std::vector<std::unique_ptr<Subject>> &subjects,
                              const std::vector<std::unique_ptr<JsonSubject>> &json,
                              const std::map<std::string, Median> &medians);

#endif
