#include "bridge/ReadPast.h"

#include <Kelp>

#include <string>

namespace {

void addCount(std::string &line, std::uint32_t n, const char *one, const char *many) {
    if (n == 0)
        return;
    line += line.empty() ? "read past " : ", ";
    line += std::to_string(n);
    line += ' ';
    line += n == 1 ? one : many;
}

} // namespace

ReadPastCounts readPastOf(const Kelp &geo) {
    ReadPastCounts counts;
    const SkippedPrimitives &skipped = geo.getSkippedPrimitives();
    counts.packed = skipped.packed;
    counts.packedDisk = skipped.packedDisk;
    counts.openCurves = skipped.curves;
    counts.soups = skipped.soups;
    counts.other = skipped.other;
    for (const PolygonData &p : geo.getPolygons())
        if (p.ids.size() < 3)
            ++counts.shortPolygons;
    return counts;
}

MString readPastLine(const ReadPastCounts &counts) {
    std::string line;
    addCount(line, counts.packed, "packed primitive", "packed primitives");
    addCount(line, counts.packedDisk, "packed disk primitive", "packed disk primitives");
    addCount(line, counts.openCurves, "open curve", "open curves");
    addCount(line, counts.soups, "polygon soup", "polygon soups");
    addCount(line, counts.shortPolygons, "polygon of fewer than 3 vertices",
             "polygons of fewer than 3 vertices");
    addCount(line, counts.other, "other primitive", "other primitives");
    return MString(line.c_str());
}
