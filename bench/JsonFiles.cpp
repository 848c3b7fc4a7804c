#include "JsonFiles.h"

#include <blosc.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Bumped whenever the generated content changes, so stale caches are rebuilt.
const int kGeneratorVersion = 2;

// Binary JSON tokens, little-endian as Houdini writes them.
class Tokens {
public:
    std::vector<unsigned char> bytes;

    Tokens &raw(unsigned char b) {
        bytes.push_back(b);
        return *this;
    }
    template <class T> Tokens &value(T v) {
        const unsigned char *p = reinterpret_cast<const unsigned char *>(&v);
        bytes.insert(bytes.end(), p, p + sizeof(T));
        return *this;
    }
    Tokens &length(std::uint64_t n) {
        if (n < 0xF1)
            return raw(static_cast<unsigned char>(n));
        if (n <= 0xFFFF)
            return raw(0xF2).value(static_cast<std::uint16_t>(n));
        return raw(0xF4).value(static_cast<std::uint32_t>(n));
    }
    Tokens &arr() { return raw(0x5B); }
    Tokens &end() { return raw(0x5D); }
    Tokens &map() { return raw(0x7B); }
    Tokens &mapEnd() { return raw(0x7D); }
    Tokens &boolean(bool v) { return raw(v ? 0x31 : 0x30); }
    Tokens &i8(std::int8_t v) { return raw(0x11).value(v); }
    Tokens &i16(std::int16_t v) { return raw(0x12).value(v); }
    Tokens &i32(std::int32_t v) { return raw(0x13).value(v); }
    Tokens &str(const std::string &s) {
        raw(0x27).length(s.size());
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    // Keys go through the string table the first time, as real files write them.
    Tokens &key(const std::string &s) {
        for (std::size_t k = 0; k < m_keys.size(); ++k)
            if (m_keys[k] == s)
                return raw(0x26).length(k);
        m_keys.push_back(s);
        raw(0x2B).length(m_keys.size() - 1).length(s.size());
        bytes.insert(bytes.end(), s.begin(), s.end());
        return raw(0x26).length(m_keys.size() - 1);
    }
    // A uniform array of 4-byte values (type 0x19 real32, 0x13 int32);
    // returns where its values start.
    std::size_t uniform(unsigned char type, const void *data, std::size_t count) {
        raw(0x40).raw(type).length(count);
        std::size_t at = bytes.size();
        const unsigned char *p = static_cast<const unsigned char *>(data);
        bytes.insert(bytes.end(), p, p + count * 4);
        return at;
    }

private:
    std::vector<std::string> m_keys;
};

// One float attribute of tuple size 3, paged with every page written out
// (the form binary files use; one sub-vector, so the values are element-major).
JsonArray vectorAttribute(Tokens &j, const std::string &name, const std::vector<float> &values) {
    j.arr().arr().key("scope").str("public").key("type").key("numeric").key("name").str(name);
    j.key("options").map().mapEnd().end();
    j.arr().key("size").i8(3).key("storage").key("fpreal32");
    j.key("defaults").arr().key("size").i8(1).key("storage").key("fpreal64").key("values");
    j.raw(0x40).raw(0x1A).length(1).value(0.0);
    j.end();
    j.key("values").arr().key("size").i8(3).key("storage").key("fpreal32");
    j.key("pagesize").i16(1024).key("rawpagedata");
    JsonArray a{j.uniform(0x19, values.data(), values.size()), values.size()};
    j.end().end().end();
    return a;
}

// The rippled grid of the classic mesh (SyntheticFiles.cpp): point "P" and
// "N", vertex "uv" (three floats), two triangles per grid cell.
struct Grid {
    std::vector<float> p, nrm, uv;
    std::vector<std::int32_t> ids;
};

Grid rippledGrid(std::uint32_t w, std::uint32_t h) {
    Grid g;
    const std::size_t n = std::size_t(w) * h, prims = 2 * std::size_t(w - 1) * (h - 1);
    g.p.reserve(3 * n);
    g.nrm.reserve(3 * n);
    for (std::uint32_t jj = 0; jj < h; ++jj)
        for (std::uint32_t i = 0; i < w; ++i) {
            float x = static_cast<float>(i) * 0.01f, z = static_cast<float>(jj) * 0.01f;
            g.p.insert(g.p.end(), {x, 0.2f * std::sin(x * 3.0f) * std::cos(z * 2.0f), z});
            float dx = 0.6f * std::cos(x * 3.0f) * std::cos(z * 2.0f);
            float dz = -0.4f * std::sin(x * 3.0f) * std::sin(z * 2.0f);
            float len = std::sqrt(dx * dx + 1.0f + dz * dz);
            g.nrm.insert(g.nrm.end(), {-dx / len, 1.0f / len, -dz / len});
        }
    g.ids.reserve(3 * prims);
    g.uv.reserve(9 * prims);
    const float du = 1.0f / static_cast<float>(w - 1), dv = 1.0f / static_cast<float>(h - 1);
    auto corner = [&](std::uint32_t i, std::uint32_t jj) {
        g.ids.push_back(static_cast<std::int32_t>(jj * w + i));
        g.uv.insert(g.uv.end(), {static_cast<float>(i) * du, static_cast<float>(jj) * dv, 0.0f});
    };
    for (std::uint32_t jj = 0; jj + 1 < h; ++jj)
        for (std::uint32_t i = 0; i + 1 < w; ++i) {
            corner(i, jj);
            corner(i + 1, jj);
            corner(i + 1, jj + 1);
            corner(i, jj);
            corner(i + 1, jj + 1);
            corner(i, jj + 1);
        }
    return g;
}

// The grid as one document with one polygon run.
Tokens meshStream(std::uint32_t w, std::uint32_t h, std::vector<JsonArray> &arrays) {
    const Grid g = rippledGrid(w, h);
    const std::uint32_t n = w * h;
    const std::uint32_t prims = 2 * (w - 1) * (h - 1);
    Tokens j;
    j.raw(0x7F).value(std::uint32_t(0x624A534E));
    j.arr().key("fileversion").str("19.5.403").key("hasindex").boolean(false);
    j.key("pointcount").i32(static_cast<std::int32_t>(n));
    j.key("vertexcount").i32(static_cast<std::int32_t>(g.ids.size()));
    j.key("primitivecount").i32(static_cast<std::int32_t>(prims));
    j.key("info").map().key("software").str("Houdini 19.5.403").mapEnd();
    j.key("topology").arr().key("pointref").arr().key("indices");
    JsonArray topology{j.uniform(0x13, g.ids.data(), g.ids.size()), g.ids.size()};
    j.end().end();
    j.key("attributes").arr();
    j.key("vertexattributes").arr();
    JsonArray uv = vectorAttribute(j, "uv", g.uv);
    j.end();
    j.key("pointattributes").arr();
    arrays.push_back(vectorAttribute(j, "P", g.p));
    arrays.push_back(vectorAttribute(j, "N", g.nrm));
    arrays.push_back(uv);
    arrays.push_back(topology);
    j.end().end();
    // One run of triangles: [["type","p_r"], ["s_v",0,"n_p",prims,"r_v",[3,prims]]].
    j.key("primitives").arr().arr().arr().key("type").key("p_r").end();
    j.arr().key("s_v").i32(0).key("n_p").i32(static_cast<std::int32_t>(prims)).key("r_v");
    const std::int32_t rle[2] = {3, static_cast<std::int32_t>(prims)};
    j.uniform(0x13, rle, 2);
    j.end().end().end();
    j.end();
    return j;
}

// The .bgeo.sc container: "scf1", 8 zero bytes, Blosc chunks of 1 MiB (LZ4,
// byte shuffle, type size 4, as Houdini writes them), the index and "1fcs".
bool bloscContainer(const std::vector<unsigned char> &data, std::vector<unsigned char> &out) {
    const std::size_t chunkBytes = 1 << 20;
    out.assign({'s', 'c', 'f', '1', 0, 0, 0, 0, 0, 0, 0, 0});
    std::vector<std::uint64_t> starts;
    std::vector<unsigned char> chunk(chunkBytes + BLOSC_MAX_OVERHEAD);
    std::size_t last = 0;
    for (std::size_t at = 0; at < data.size(); at += chunkBytes) {
        const std::size_t n = std::min(chunkBytes, data.size() - at);
        const int written = blosc_compress_ctx(5, BLOSC_SHUFFLE, 4, n, data.data() + at,
                                               chunk.data(), chunk.size(), "lz4", 0, 1);
        if (written <= 0)
            return false;
        starts.push_back(out.size() - 12);
        out.insert(out.end(), chunk.begin(), chunk.begin() + written);
        last = n;
    }
    auto be64 = [&](std::uint64_t v) {
        for (int k = 7; k >= 0; --k)
            out.push_back(static_cast<unsigned char>(v >> (8 * k)));
    };
    for (std::size_t k = 1; k < starts.size(); ++k)
        be64(starts[k]);
    be64(chunkBytes);
    be64(last);
    be64(8 * (starts.size() + 1));
    out.insert(out.end(), {'1', 'f', 'c', 's'});
    return true;
}

bool exists(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
}

bool writeFile(const std::string &path, const std::vector<unsigned char> &bytes) {
    const std::string part = path + ".part";
    FILE *f = std::fopen(part.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    return ok && std::rename(part.c_str(), path.c_str()) == 0;
}

} // namespace

JsonFile jsonMeshFile(std::uint32_t points, const std::string &cacheDir) {
    // Grid sides as for the classic mesh: a little wider than deep.
    const std::uint32_t w =
        static_cast<std::uint32_t>(std::sqrt(static_cast<double>(points) * 1.25));
    const std::uint32_t h = points / w;
    JsonFile f;
    f.points = w * h;
    f.primitives = 2 * (w - 1) * (h - 1);
    Tokens stream = meshStream(w, h, f.arrays);
    f.streamBytes = stream.bytes.size();
    const std::string stem = cacheDir + "/json-mesh-" + std::to_string(points) + "-g" +
                             std::to_string(kGeneratorVersion);
    f.plainPath = stem + ".bgeo";
    f.bloscPath = stem + ".bgeo.sc";
    if (exists(f.plainPath) && exists(f.bloscPath))
        return f;

    std::fprintf(stderr, "generating %s and %s\n", f.plainPath.c_str(), f.bloscPath.c_str());
    std::vector<unsigned char> sc;
    if (!bloscContainer(stream.bytes, sc) || !writeFile(f.plainPath, stream.bytes) ||
        !writeFile(f.bloscPath, sc)) {
        std::fprintf(stderr, "could not write the JSON benchmark files in %s\n", cacheDir.c_str());
        std::exit(1);
    }
    return f;
}
