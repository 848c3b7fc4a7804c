// Load times of packed geometry: 10,000 pieces of one 500-quad geometry
// embedded once, against the same quads written flat, and any files named
// on the command line; the median of several loads each. The packed file is
// also loaded for particles (one point per piece, nothing expanded).
//
//   kelp_bench_packed [runs] [file...]
#include <Kelp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// A minimal binary writer: plain strings for keys, uniform arrays for bulk.
struct Writer {
    Bytes b;
    void raw(std::uint8_t v) { b.push_back(v); }
    template <class T> void value(T v) {
        const auto *p = reinterpret_cast<const unsigned char *>(&v);
        b.insert(b.end(), p, p + sizeof v);
    }
    void length(std::uint64_t n) {
        if (n < 0xF1) {
            raw(static_cast<std::uint8_t>(n));
        } else if (n <= 0xFFFF) {
            raw(0xF2), value(static_cast<std::uint16_t>(n));
        } else {
            raw(0xF4), value(static_cast<std::uint32_t>(n));
        }
    }
    void str(const std::string &s) {
        raw(0x27), length(s.size());
        b.insert(b.end(), s.begin(), s.end());
    }
    void i32(std::int32_t v) { raw(0x13), value(v); }
    void arr() { raw(0x5B); }
    void end() { raw(0x5D); }
    void ints(const std::vector<std::int32_t> &v) {
        raw(0x40), raw(0x13), length(v.size());
        for (std::int32_t x : v)
            value(x);
    }
    void floats(const std::vector<float> &v) {
        raw(0x40), raw(0x19), length(v.size());
        for (float x : v)
            value(x);
    }
    void doubles(const std::vector<double> &v) {
        raw(0x40), raw(0x1A), length(v.size());
        for (double x : v)
            value(x);
    }
};

// The body of a document (no magic) of points p and quads over topology.
void document(Writer &w, const std::vector<float> &p, const std::vector<std::int32_t> &topology) {
    const std::int32_t quads = static_cast<std::int32_t>(topology.size() / 4);
    const std::int32_t points = static_cast<std::int32_t>(p.size() / 3);
    w.arr();
    w.str("pointcount"), w.i32(points);
    w.str("vertexcount"), w.i32(static_cast<std::int32_t>(topology.size()));
    w.str("primitivecount"), w.i32(quads);
    w.str("topology"), w.arr(), w.str("pointref"), w.arr(), w.str("indices"), w.ints(topology);
    w.end(), w.end();
    w.str("attributes"), w.arr(), w.str("pointattributes"), w.arr(), w.arr();
    w.arr(), w.str("type"), w.str("numeric"), w.str("name"), w.str("P"), w.end();
    w.arr(), w.str("size"), w.i32(3), w.str("storage"), w.str("fpreal32");
    w.str("values"), w.arr(), w.str("size"), w.i32(3), w.str("storage"), w.str("fpreal32");
    w.str("pagesize"), w.i32(1024), w.str("rawpagedata"), w.floats(p), w.end();
    w.end(), w.end(), w.end(), w.end();
    w.str("primitives"), w.arr();
    if (quads) {
        w.arr(), w.arr(), w.str("type"), w.str("p_r"), w.end();
        w.arr(), w.str("s_v"), w.i32(0), w.str("n_p"), w.i32(quads), w.str("r_v");
        w.ints({4, quads}), w.end(), w.end();
    }
    w.end(), w.end(); // primitives, document
}

// A grid of 25 x 20 quads.
void grid(std::vector<float> &p, std::vector<std::int32_t> &topology, float x0, float z0) {
    const int nx = 25, nz = 20;
    const std::int32_t base = static_cast<std::int32_t>(p.size() / 3);
    for (int j = 0; j <= nz; ++j)
        for (int i = 0; i <= nx; ++i)
            p.insert(p.end(), {x0 + 0.1f * i, 0.0f, z0 + 0.1f * j});
    for (int j = 0; j < nz; ++j)
        for (int i = 0; i < nx; ++i) {
            const std::int32_t a = base + j * (nx + 1) + i;
            topology.insert(topology.end(), {a, a + 1, a + nx + 2, a + nx + 1});
        }
}

Bytes packedFile(int pieces) {
    std::vector<float> leafP, at;
    std::vector<std::int32_t> leafT, topology;
    grid(leafP, leafT, 0, 0);
    for (int k = 0; k < pieces; ++k) {
        at.insert(at.end(), {float(k % 100) * 3, 0.0f, float(k / 100) * 3});
        topology.push_back(k);
    }
    // The file's own points are the pieces' positions, one vertex each.
    Writer top;
    top.raw(0x7F), top.value(std::uint32_t(0x624A534E));
    top.arr();
    top.str("pointcount"), top.i32(pieces), top.str("vertexcount"), top.i32(pieces);
    top.str("primitivecount"), top.i32(pieces);
    top.str("topology"), top.arr(), top.str("pointref"), top.arr(), top.str("indices");
    top.ints(topology), top.end(), top.end();
    top.str("attributes"), top.arr(), top.str("pointattributes"), top.arr(), top.arr();
    top.arr(), top.str("type"), top.str("numeric"), top.str("name"), top.str("P"), top.end();
    top.arr(), top.str("size"), top.i32(3), top.str("storage"), top.str("fpreal32");
    top.str("values"), top.arr(), top.str("size"), top.i32(3), top.str("storage");
    top.str("fpreal32"), top.str("pagesize"), top.i32(1024), top.str("rawpagedata");
    top.floats(at), top.end(), top.end(), top.end(), top.end(), top.end();
    top.str("primitives"), top.arr(), top.arr(), top.arr(), top.str("type"), top.str("run");
    top.str("runtype"), top.str("PackedGeometry"), top.str("varyingfields"), top.arr();
    top.str("parameters"), top.str("pivot"), top.str("transform"), top.str("vertex"), top.end();
    top.end(), top.arr();
    for (int k = 0; k < pieces; ++k) {
        const double a = 0.001 * k, c = std::cos(a), s = std::sin(a);
        top.arr(), top.raw(0x7B), top.str("embedded"), top.str("embed:0"), top.raw(0x7D);
        top.floats({0, 0, 0}), top.doubles({c, 0, -s, 0, 1, 0, s, 0, c}), top.i32(k), top.end();
    }
    top.end(), top.end(), top.end();
    top.str("sharedprimitivedata"), top.arr(), top.str("PackedGeometry"), top.arr();
    top.str("gu:embeddedgeo"), top.str("embed:0");
    document(top, leafP, leafT);
    top.end(), top.end(), top.end();
    return top.b;
}

Bytes flatFile(int pieces) {
    std::vector<float> p;
    std::vector<std::int32_t> topology;
    for (int k = 0; k < pieces; ++k)
        grid(p, topology, float(k % 100) * 3, float(k / 100) * 3);
    Writer w;
    w.raw(0x7F), w.value(std::uint32_t(0x624A534E));
    document(w, p, topology);
    return w.b;
}

double medianLoad(const Bytes &bytes, const std::string &name, int runs, KelpLoadFor use,
                  std::uint32_t &polys) {
    std::vector<double> ms;
    for (int r = 0; r < runs; ++r) {
        Kelp k;
        k.setLoadFor(use);
        const auto t0 = std::chrono::steady_clock::now();
        const int ok = k.loadBgeoFromMemory(bytes.data(), bytes.size(), name);
        const auto t1 = std::chrono::steady_clock::now();
        if (ok != 1)
            return -1;
        polys = k.getNumPolys();
        ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

void report(const char *what, const Bytes &bytes, const std::string &name, int runs,
            KelpLoadFor use = KelpLoadFor::Mesh) {
    std::uint32_t polys = 0;
    const double ms = medianLoad(bytes, name, runs, use, polys);
    std::printf("%-40s %10zu bytes %9u polygons  median %9.2f ms of %d\n", what, bytes.size(),
                polys, ms, runs);
}

} // namespace

int main(int argc, char **argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const Bytes packed = packedFile(10000);
    report("10000 pieces of 500 quads, packed", packed, "packed.bgeo", runs);
    report("the same, loaded for particles", packed, "packed.bgeo", runs, KelpLoadFor::Particles);
    report("the same quads written flat", flatFile(10000), "flat.bgeo", runs);
    for (int k = 2; k < argc; ++k) {
        std::ifstream in(argv[k], std::ios::binary);
        const Bytes bytes((std::istreambuf_iterator<char>(in)), {});
        report(argv[k], bytes, argv[k], runs);
    }
    return 0;
}
