#include "SyntheticFiles.h"

#include "ByteSink.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Bumped whenever the generated content changes, so stale caches are rebuilt.
const int kGeneratorVersion = 1;

std::uint64_t mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Deterministic value in [0, 1) for element i and channel c.
float unit(std::uint64_t i, unsigned c) {
    return static_cast<float>(mix(i * 16 + c) >> 40) / static_cast<float>(1u << 24);
}

bool exists(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
}

void header(ByteSink &out, std::uint32_t points, std::uint32_t prims, std::uint32_t pointAttrs,
            std::uint32_t vertexAttrs) {
    out.text("BgeoV");
    out.i32(5);
    out.u32(points);
    out.u32(prims);
    out.u32(0); // point groups
    out.u32(0); // primitive groups
    out.u32(pointAttrs);
    out.u32(vertexAttrs);
    out.u32(0); // primitive attributes
    out.u32(0); // detail attributes
}

void entry(ByteSink &out, const char *name, std::int16_t size, std::int32_t type) {
    out.i16(static_cast<std::int16_t>(std::strlen(name)));
    out.text(name);
    out.i16(size);
    out.i32(type);
    for (int i = 0; i < size; ++i)
        out.f32(0.0f);
}

void vec(ByteSink &out, float x, float y, float z) {
    out.f32(x);
    out.f32(y);
    out.f32(z);
}

// P plus "v", "N" (vectors), "Cd" (three floats, as Houdini stores colours),
// "pscale" and "age" (floats); no primitives.
void writeParticles(ByteSink &out, std::uint32_t n) {
    header(out, n, 0, 5, 0);
    entry(out, "v", 3, 5);
    entry(out, "N", 3, 5);
    entry(out, "Cd", 3, 0);
    entry(out, "pscale", 1, 0);
    entry(out, "age", 1, 0);
    for (std::uint32_t i = 0; i < n; ++i) {
        vec(out, unit(i, 0) * 20.0f - 10.0f, unit(i, 1) * 20.0f, unit(i, 2) * 20.0f - 10.0f);
        out.f32(1.0f);
        vec(out, unit(i, 3) - 0.5f, unit(i, 4) * -2.0f, unit(i, 5) - 0.5f);
        float nx = unit(i, 6) - 0.5f, ny = unit(i, 7) - 0.5f, nz = 0.5f;
        float len = std::sqrt(nx * nx + ny * ny + nz * nz);
        vec(out, nx / len, ny / len, nz / len);
        vec(out, unit(i, 8), unit(i, 9), unit(i, 10));
        out.f32(0.05f + 0.01f * unit(i, 11));
        out.f32(static_cast<float>(i % 240) / 24.0f);
    }
    out.u8(0x00); // empty extra section
    out.u8(0xFF);
}

// A rippled grid of w x h points: P and point "N", vertex "uv" (three floats,
// type 0, as the saver writes it), two triangles per grid cell, in runs of at
// most 65535 polygons.
void writeMesh(ByteSink &out, std::uint32_t w, std::uint32_t h) {
    const std::uint32_t n = w * h;
    const std::uint32_t prims = 2 * (w - 1) * (h - 1);
    header(out, n, prims, 1, 1);
    entry(out, "N", 3, 5);
    for (std::uint32_t j = 0; j < h; ++j)
        for (std::uint32_t i = 0; i < w; ++i) {
            float x = static_cast<float>(i) * 0.01f, z = static_cast<float>(j) * 0.01f;
            float y = 0.2f * std::sin(x * 3.0f) * std::cos(z * 2.0f);
            vec(out, x, y, z);
            out.f32(1.0f);
            float dx = 0.6f * std::cos(x * 3.0f) * std::cos(z * 2.0f);
            float dz = -0.4f * std::sin(x * 3.0f) * std::sin(z * 2.0f);
            float len = std::sqrt(dx * dx + 1.0f + dz * dz);
            vec(out, -dx / len, 1.0f / len, -dz / len);
        }
    entry(out, "uv", 3, 0);
    // The primitive attribute dictionary is empty (count 0): no bytes.
    const bool wide = n > 65535;
    const float du = 1.0f / static_cast<float>(w - 1), dv = 1.0f / static_cast<float>(h - 1);
    std::uint32_t written = 0;
    auto corner = [&](std::uint32_t i, std::uint32_t j) {
        std::uint32_t id = j * w + i;
        if (wide)
            out.u32(id);
        else
            out.u16(static_cast<std::uint16_t>(id));
        vec(out, static_cast<float>(i) * du, static_cast<float>(j) * dv, 0.0f);
    };
    auto begin = [&]() {
        if (written % 65535 == 0) {
            std::uint32_t left = prims - written;
            out.u32(0xFFFFFFFFu);
            out.u16(static_cast<std::uint16_t>(left < 65535 ? left : 65535));
            out.u32(1);
        }
        out.u32(3);
        out.u8('<');
        ++written;
    };
    for (std::uint32_t j = 0; j + 1 < h; ++j)
        for (std::uint32_t i = 0; i + 1 < w; ++i) {
            begin();
            corner(i, j);
            corner(i + 1, j);
            corner(i + 1, j + 1);
            begin();
            corner(i, j);
            corner(i + 1, j + 1);
            corner(i, j + 1);
        }
    out.u8(0x00);
    out.u8(0xFF);
}

// Grid sides for about `points` points, a little wider than deep.
void gridSides(std::uint32_t points, std::uint32_t &w, std::uint32_t &h) {
    w = static_cast<std::uint32_t>(std::sqrt(static_cast<double>(points) * 1.25));
    h = points / w;
}

} // namespace

const char *kindName(DetailKind kind) {
    return kind == DetailKind::Particles ? "particles" : "mesh";
}

std::string benchCacheDir() {
    const char *env = std::getenv("KELP_BENCH_CACHE");
    std::string dir = env && *env ? env : "bench-cache";
    mkdir(dir.c_str(), 0777);
    return dir;
}

SyntheticFile syntheticFile(DetailKind kind, std::uint32_t points, const std::string &cacheDir) {
    SyntheticFile f;
    f.kind = kind;
    std::uint32_t w = 0, h = 0;
    if (kind == DetailKind::Mesh) {
        gridSides(points, w, h);
        f.points = w * h;
        f.primitives = 2 * (w - 1) * (h - 1);
    } else {
        f.points = points;
        f.primitives = 0;
    }
    std::string stem = cacheDir + "/" + kindName(kind) + "-" + std::to_string(points) + "-g" +
                       std::to_string(kGeneratorVersion);
    f.plainPath = stem + ".bgeo";
    f.gzipPath = stem + ".bgeo.gz";
    if (exists(f.plainPath) && exists(f.gzipPath))
        return f;

    std::fprintf(stderr, "generating %s and %s\n", f.plainPath.c_str(), f.gzipPath.c_str());
    std::string tmpPlain = f.plainPath + ".part", tmpGzip = f.gzipPath + ".part";
    ByteSink out(tmpPlain, tmpGzip, Z_DEFAULT_COMPRESSION);
    if (out.ok()) {
        if (kind == DetailKind::Mesh)
            writeMesh(out, w, h);
        else
            writeParticles(out, points);
    }
    if (!out.finish() || std::rename(tmpPlain.c_str(), f.plainPath.c_str()) != 0 ||
        std::rename(tmpGzip.c_str(), f.gzipPath.c_str()) != 0) {
        std::fprintf(stderr, "could not write the benchmark files in %s\n", cacheDir.c_str());
        std::exit(1);
    }
    return f;
}
