// Every real file of the JSON-based format, loaded, written by Kelp's JSON
// saver as text (.geo and .geo.gz) and loaded back, gives the same model:
// counts, polygons, and every attribute the saver carries.
#include "JsonLoadHelpers.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace kelptest;

namespace {

// The saver writes float, integer and vector attributes; string indices
// have no strings in the model.
bool carried(const AttributeData &a) {
    return a.type == 0 || a.type == 1 || a.type == 5;
}

void expectSameAttributes(const std::vector<AttributeData> &want,
                          const std::vector<AttributeData> &got) {
    std::vector<const AttributeData *> kept;
    for (const AttributeData &a : want)
        if (carried(a))
            kept.push_back(&a);
    ASSERT_EQ(kept.size(), got.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        const AttributeData &w = *kept[i];
        const AttributeData &g = got[i];
        SCOPED_TRACE(w.name);
        EXPECT_EQ(g.name, w.name);
        EXPECT_EQ(g.type, w.type);
        EXPECT_TRUE(g.float_data == w.float_data);
        EXPECT_TRUE(g.int_data == w.int_data);
        ASSERT_EQ(g.vector_data.size(), w.vector_data.size());
        EXPECT_TRUE(std::equal(g.vector_data.begin(), g.vector_data.end(), w.vector_data.begin()));
    }
}

void expectSameModel(const Kelp &want, const Kelp &got) {
    EXPECT_EQ(got.getNumPoints(), want.getNumPoints());
    EXPECT_EQ(got.getNumVerts(), want.getNumVerts());
    ASSERT_EQ(got.getPolygons().size(), want.getPolygons().size());
    for (std::size_t p = 0; p < want.getPolygons().size(); ++p)
        ASSERT_EQ(got.getPolygons()[p].ids, want.getPolygons()[p].ids) << "polygon " << p;
    expectSameAttributes(want.getPointAttributes(), got.getPointAttributes());
    expectSameAttributes(want.getVertexAttributes(), got.getVertexAttributes());
}

std::vector<std::string> fixtureNames() {
    std::vector<std::string> names;
    if (DIR *dir = ::opendir(KELP_FIXTURES_JSON)) {
        while (dirent *e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if ((name.find(".bgeo") != std::string::npos ||
                 name.find(".geo") != std::string::npos) &&
                !passOverWithoutBlosc(name))
                names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

Bytes readBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct TempDir {
    TempDir() : path(makeScratchFolder("kelp_text_")) {}
    ~TempDir() {
        if (path.empty())
            return;
        for (const std::string &f : files)
            std::remove(f.c_str());
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
    std::string file(const std::string &name) {
        files.push_back(path + "/" + name);
        return files.back();
    }
    std::string path;
    std::vector<std::string> files;
};

} // namespace

TEST(JsonTextRoundTrip, EveryRealFileComesBackAsText) {
    const std::vector<std::string> names = fixtureNames();
    if (names.empty())
        GTEST_SKIP() << "no real files in " << KELP_FIXTURES_JSON;
    TempDir dir;
    ASSERT_FALSE(dir.path.empty());
    int compared = 0;
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        Kelp original;
        const JsonLoaded first =
            loadJson(original, readBytes(std::string(KELP_FIXTURES_JSON) + "/" + name), name);
        ASSERT_EQ(first.result, 1) << first.err;
        for (const char *ending : {".geo", ".geo.gz"}) {
            SCOPED_TRACE(ending);
            const std::string path = dir.file(name + ending);
            testing::internal::CaptureStderr();
            const int saved = original.saveBgeo(path, KelpFormat::Json);
            const std::string log = testing::internal::GetCapturedStderr();
            ASSERT_EQ(saved, 1) << log;
            const Bytes written = readBytes(path);
            // Text, or text inside gzip: never the binary form.
            ASSERT_GT(written.size(), 2u);
            if (std::string(ending) == ".geo")
                ASSERT_EQ(written[0], '[');
            else
                ASSERT_EQ(written[0], 0x1F);
            Kelp back;
            const JsonLoaded again = loadJson(back, written, path);
            ASSERT_EQ(again.result, 1) << again.err;
            expectSameModel(original, back);
            ++compared;
        }
    }
    EXPECT_EQ(compared, 2 * static_cast<int>(names.size()));
}
