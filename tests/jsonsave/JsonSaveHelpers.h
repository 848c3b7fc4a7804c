// Shared by the JSON writer tests: a small mesh, files in a scratch
// directory, and whole files read back.
#ifndef KELP_TESTS_JSONSAVEHELPERS_H
#define KELP_TESTS_JSONSAVEHELPERS_H

#include "NeedsBlosc.h"
#include "ScratchFolder.h"

#include <Kelp>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kelptest {

// Three points, one triangle, "N" per point and "uv" per vertex, built as
// the mesh export builds details.
inline void buildTriangle(Kelp &k) {
    k.initialiseNew();
    k.setPointAttrVectorValue("P", Imath::V3f(0, 0, 0));
    k.setPointAttrVectorValue("P", Imath::V3f(1, 0, 0));
    k.setPointAttrVectorValue("P", Imath::V3f(0, 1, 0));
    for (int p = 0; p < 3; ++p)
        k.setPointAttrVectorValue("N", Imath::V3f(0, 0, 1));
    k.setVertexAttrVectorValue("uv", Imath::V3f(0, 0, 0), 1);
    k.setVertexAttrVectorValue("uv", Imath::V3f(1, 0, 0), 1);
    k.setVertexAttrVectorValue("uv", Imath::V3f(0, 1, 0), 1);
    for (std::uint32_t p = 0; p < 3; ++p)
        k.setPolyVertexIdValue(0, p);
}

inline std::vector<unsigned char> readWhole(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
}

inline bool exists(const std::string &path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

// A directory of its own for each test, removed afterwards with what is in it.
class ScratchDir {
public:
    ScratchDir() : m_path(makeScratchFolder("kelp-jsonsave-")) {}
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    std::string operator/(const std::string &name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

} // namespace kelptest

#endif
