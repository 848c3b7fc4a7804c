// Real files loaded, written in the JSON forms and loaded back give the same
// model: counts, polygons, and every attribute the writer carries (float,
// integer and vector values; string indices have no strings in the model
// and are not written).
#include "JsonSaveHelpers.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace kelptest;

namespace {

bool carried(const AttributeData &a) {
    return a.type == 0 || a.type == 1 || a.type == 5;
}

// Components the file holds: vectors keep two or three, "P" is the model's
// four, floats and integers one.
int widthOf(const AttributeData &a, bool point) {
    if (point && a.name == "P")
        return 4;
    if (a.type == 5 || (a.type == 0 && a.size == 3))
        return a.size == 2 ? 2 : 3;
    return 1;
}

void expectSameAttributes(const std::vector<AttributeData> &want,
                          const std::vector<AttributeData> &got, bool point) {
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
        EXPECT_EQ(widthOf(g, point), widthOf(w, point));
        EXPECT_EQ(g.type == 1, w.type == 1);
        EXPECT_TRUE(g.float_data == w.float_data);
        EXPECT_TRUE(g.int_data == w.int_data);
        ASSERT_EQ(g.vector_data.size(), w.vector_data.size());
        EXPECT_TRUE(std::equal(g.vector_data.begin(), g.vector_data.end(), w.vector_data.begin()));
        EXPECT_EQ(g.float_default, w.float_default);
        EXPECT_EQ(g.int_default, w.int_default);
        EXPECT_EQ(g.vector_default, w.vector_default);
    }
}

void expectSameModel(const Kelp &want, const Kelp &got) {
    EXPECT_EQ(got.getNumPoints(), want.getNumPoints());
    if (want.getNumVerts() != 0) { // details built by the mesh export do not count them
        EXPECT_EQ(got.getNumVerts(), want.getNumVerts());
    }
    ASSERT_EQ(got.getPolygons().size(), want.getPolygons().size());
    for (std::size_t p = 0; p < want.getPolygons().size(); ++p)
        ASSERT_EQ(got.getPolygons()[p].ids, want.getPolygons()[p].ids) << "polygon " << p;
    expectSameAttributes(want.getPointAttributes(), got.getPointAttributes(), true);
    expectSameAttributes(want.getVertexAttributes(), got.getVertexAttributes(), false);
}

std::vector<std::string> fixtureNames() {
    std::vector<std::string> names;
    if (DIR *dir = ::opendir(KELP_FIXTURES_JSON)) {
        while (dirent *e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name.find(".bgeo") != std::string::npos && !passOverWithoutBlosc(name))
                names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(JsonRoundTrip, EveryRealFileComesBackThroughBinaryGzipAndBlosc) {
    const std::vector<std::string> names = fixtureNames();
    if (names.empty())
        GTEST_SKIP() << "no real files in " << KELP_FIXTURES_JSON;
    ScratchDir dir;
    int compared = 0;
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        Kelp original;
        testing::internal::CaptureStderr();
        const bool loaded = original.loadBgeo(std::string(KELP_FIXTURES_JSON) + "/" + name) == 1;
        const std::string said = testing::internal::GetCapturedStderr();
        if (!loaded) {
            ADD_FAILURE() << "the real file does not load: " << said;
            continue;
        }
        for (const char *ending : {".bgeo", ".bgeo.gz", ".bgeo.sc"}) {
            if (passOverWithoutBlosc(ending))
                continue;
            SCOPED_TRACE(ending);
            const std::string path = dir / (name + ending);
            testing::internal::CaptureStderr();
            const int saved = original.saveBgeo(path, KelpFormat::Json);
            Kelp back;
            const int reloaded = saved ? back.loadBgeo(path) : 0;
            const std::string log = testing::internal::GetCapturedStderr();
            ASSERT_EQ(saved, 1) << log;
            ASSERT_EQ(reloaded, 1) << log;
            expectSameModel(original, back);
            ++compared;
        }
    }
    const int forms = KELP_WITH_BLOSC ? 3 : 2;
    EXPECT_EQ(compared, forms * static_cast<int>(names.size()));
}

TEST(JsonRoundTrip, MeshExportDetailComesBackFromEveryForm) {
    ScratchDir dir;
    Kelp k;
    buildTriangle(k);
    // A second UV set, and a quad, so counts are mixed.
    for (int v = 0; v < 7; ++v)
        k.setVertexAttrVectorValue("map2", Imath::V3f(0.25f * v, 0.5f, 0), 1);
    k.setPointAttrVectorValue("P", Imath::V3f(1, 1, 0));
    k.setPointAttrVectorValue("N", Imath::V3f(0, 0, -1));
    for (int v = 0; v < 3; ++v)
        k.setVertexAttrVectorValue("uv", Imath::V3f(0.5f, 0.125f * v, 0), 1);
    k.setVertexAttrVectorValue("uv", Imath::V3f(0.75f, 0.75f, 0), 1);
    for (std::uint32_t id : {0u, 1u, 3u, 2u})
        k.setPolyVertexIdValue(1, id);
    // Every name a save takes, in both formats, opened again by its path.
    for (const KelpFormat format : {KelpFormat::Classic, KelpFormat::Json})
        for (const char *name : {"m.bgeo", "m.bgeo.gz", "m.bgeo.sc", "m.geo", "m.geo.gz",
                                 "m.bhclassic", "m.hclassic"}) {
            if (passOverWithoutBlosc(name))
                continue;
            SCOPED_TRACE(std::string(name) + (format == KelpFormat::Json ? " json" : " classic"));
            testing::internal::CaptureStderr();
            ASSERT_EQ(k.saveBgeo(dir / name, format), 1);
            Kelp back;
            const int loaded = back.loadBgeo(dir / name);
            const std::string err = testing::internal::GetCapturedStderr();
            ASSERT_EQ(loaded, 1) << err;
            expectSameModel(k, back);
            EXPECT_EQ(back.getVertexAttrName(1), "map2");
            EXPECT_EQ(back.getVertexAttrVectorValue(1, 6), Imath::V3f(1.5f, 0.5f, 0));
            EXPECT_EQ(back.getPolyVertexIdValue(1, 2), 3u);
        }
}
