#include "SameModel.h"

#include <Kelp>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// FNV-1a over raw bytes.
void hashBytes(std::uint64_t &h, const void *data, std::size_t n) {
    const unsigned char *p = static_cast<const unsigned char *>(data);
    for (std::size_t i = 0; i < n; ++i)
        h = (h ^ p[i]) * 0x100000001B3ull;
}

struct Fingerprint {
    bool loaded = false;
    std::uint64_t points = 0, polygons = 0, vertices = 0;
    std::string attributes; // "point P 3, point N 3, vertex uv 3"
    std::uint64_t values = 0xCBF29CE484222325ull, polys = 0xCBF29CE484222325ull;
};

void addAttributes(Fingerprint &f, const std::vector<AttributeData> &table, const char *kind) {
    for (const AttributeData &a : table) {
        f.attributes += std::string(f.attributes.empty() ? "" : ", ") + kind + " " + a.name + " " +
                        std::to_string(a.size);
        hashBytes(f.values, a.float_data.data(), a.float_data.size() * sizeof(float));
        hashBytes(f.values, a.int_data.data(), a.int_data.size() * sizeof(std::int32_t));
        hashBytes(f.values, a.vector_data.data(), a.vector_data.size() * sizeof(a.vector_data[0]));
    }
}

Fingerprint fingerprint(const std::string &path) {
    Fingerprint f;
    Kelp detail;
    if (!detail.loadBgeo(path))
        return f;
    f.loaded = true;
    f.points = detail.getNumPoints();
    f.polygons = detail.getPolygons().size();
    addAttributes(f, detail.getPointAttributes(), "point");
    addAttributes(f, detail.getVertexAttributes(), "vertex");
    for (const PolygonData &p : detail.getPolygons()) {
        f.vertices += p.ids.size();
        hashBytes(f.polys, p.ids.data(), p.ids.size() * sizeof(std::uint32_t));
    }
    return f;
}

// What differs between a and b, or empty.
std::string difference(const Fingerprint &a, const Fingerprint &b) {
    if (!b.loaded)
        return "it did not load";
    if (a.points != b.points || a.polygons != b.polygons || a.vertices != b.vertices)
        return std::to_string(b.points) + " points, " + std::to_string(b.polygons) + " polygons, " +
               std::to_string(b.vertices) + " vertices";
    if (a.attributes != b.attributes)
        return "attributes " + b.attributes;
    if (a.values != b.values)
        return "other attribute values";
    if (a.polys != b.polys)
        return "other polygon point numbers";
    return "";
}

} // namespace

bool sameModel(const std::vector<std::string> &paths) {
    if (paths.empty())
        return true;
    const Fingerprint first = fingerprint(paths[0]);
    if (!first.loaded) {
        std::printf("same model: %s did not load\n", paths[0].c_str());
        return false;
    }
    for (std::size_t i = 1; i < paths.size(); ++i) {
        const std::string diff = difference(first, fingerprint(paths[i]));
        if (!diff.empty()) {
            std::printf("NOT the same model: %s has %s, against %s\n", paths[i].c_str(),
                        diff.c_str(), paths[0].c_str());
            return false;
        }
    }
    std::printf("same model in %zu files of %s: %llu points, %llu polygons, %llu vertices; %s\n",
                paths.size(), paths[0].c_str(), static_cast<unsigned long long>(first.points),
                static_cast<unsigned long long>(first.polygons),
                static_cast<unsigned long long>(first.vertices), first.attributes.c_str());
    return true;
}
