// Helpers shared by the saver tests: a scratch folder, whole-file reads,
// gunzip, hex dumps and the small details the tests save.
#ifndef KELP_TESTS_SAVE_SAVETESTSUPPORT_H
#define KELP_TESTS_SAVE_SAVETESTSUPPORT_H

#include "ScratchFolder.h"

#include <Kelp>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>
#include <zlib.h>

namespace savetest {

typedef Imath::Vec3<float> V3f;

// A fresh folder, removed with everything in it at the end of the test.
class ScratchDir {
public:
    ScratchDir() : m_path(kelptest::makeScratchFolder("kelp-save-")) {}
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::string &path() const { return m_path; }
    std::string operator/(const std::string &name) const { return m_path + "/" + name; }
    // Names of everything in the folder, sorted.
    std::vector<std::string> list() const { return listDir(m_path); }

    static std::vector<std::string> listDir(const std::string &dir) {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string m_path;
};

inline bool exists(const std::string &path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

inline std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool isGzip(const std::string &bytes) {
    return bytes.size() >= 18 && static_cast<unsigned char>(bytes[0]) == 0x1f &&
           static_cast<unsigned char>(bytes[1]) == 0x8b;
}

// Decompresses a whole gzip stream; throws when it is not one.
inline std::string gunzip(const std::string &bytes) {
    z_stream zs{};
    if (inflateInit2(&zs, 16 + 15) != Z_OK)
        throw std::runtime_error("inflateInit2");
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.data()));
    zs.avail_in = static_cast<uInt>(bytes.size());
    std::string out;
    char chunk[65536];
    int rc = Z_OK;
    while (rc == Z_OK) {
        zs.next_out = reinterpret_cast<Bytef *>(chunk);
        zs.avail_out = sizeof(chunk);
        rc = inflate(&zs, Z_NO_FLUSH);
        out.append(chunk, sizeof(chunk) - zs.avail_out);
        if (rc == Z_BUF_ERROR && zs.avail_in == 0)
            break;
    }
    const bool whole = rc == Z_STREAM_END && zs.avail_in == 0;
    inflateEnd(&zs);
    if (!whole)
        throw std::runtime_error("not a whole gzip stream");
    return out;
}

// "42 67 65" style text from bytes, and bytes from such text (spaces and
// line breaks ignored).
inline std::string hexOf(const std::string &bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (i)
            text += ' ';
        text += digits[c >> 4];
        text += digits[c & 15];
    }
    return text;
}
inline std::string bytesOf(const std::string &hex) {
    std::string bytes, digits;
    for (char c : hex)
        if (std::isxdigit(static_cast<unsigned char>(c)))
            digits += c;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    return bytes;
}

// Three points (0,0,0), (1,0,0), (0,1,0) and one triangle over them.
inline void fillTriangle(Kelp &k) {
    k.initialiseNew();
    k.setPointAttrVectorValue("P", V3f(0, 0, 0));
    k.setPointAttrVectorValue("P", V3f(1, 0, 0));
    k.setPointAttrVectorValue("P", V3f(0, 1, 0));
    for (std::uint32_t id = 0; id < 3; ++id)
        k.setPolyVertexIdValue(0, id);
}

// The triangle with the point attribute "N" (0,0,1) at every point.
inline void fillTriangleWithNormals(Kelp &k) {
    fillTriangle(k);
    for (int i = 0; i < 3; ++i)
        k.setPointAttrVectorValue("N", V3f(0, 0, 1));
}

// ... and the vertex attribute "uv" (three floats, type 0).
inline void fillTriangleWithUv(Kelp &k) {
    fillTriangleWithNormals(k);
    k.setVertexAttrVectorValue("uv", V3f(0, 0, 0), 1);
    k.setVertexAttrVectorValue("uv", V3f(1, 0, 0), 1);
    k.setVertexAttrVectorValue("uv", V3f(0, 1, 0), 1);
}

} // namespace savetest

#endif
