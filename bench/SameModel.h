// Checks that files in two formats load into the same model: the same
// counts, attribute names and sizes, values and polygons, so that their
// loads can be compared.
#ifndef KELP_BENCH_SAME_MODEL_H
#define KELP_BENCH_SAME_MODEL_H

#include <string>
#include <vector>

// Loads each file in turn (one model held at a time) and prints one line:
// what they hold when they all agree, or where the first one that differs
// from the first file does. Returns whether they agree.
bool sameModel(const std::vector<std::string> &paths);

#endif
