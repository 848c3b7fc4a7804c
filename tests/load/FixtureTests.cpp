// The real files: every classic file loads with the right counts, names and
// values; the newer-format file is refused with its line. Skipped when the
// shared fixtures are absent (a fresh clone has none).
#include "LoadHelpers.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace kelptest;
typedef Imath::Vec3<float> V3;

std::string fixture(const std::string &name) {
    return std::string(KELP_FIXTURES_CLASSIC) + "/" + name;
}

bool fixturesPresent() {
    struct stat st;
    return stat(KELP_FIXTURES_CLASSIC, &st) == 0 && S_ISDIR(st.st_mode);
}

#define REQUIRE_FIXTURES()                                                                         \
    if (!fixturesPresent())                                                                        \
    GTEST_SKIP() << KELP_FIXTURES_CLASSIC << " is absent"

struct Loaded2 {
    Kelp k;
    int result = 0;
    std::string err;
};

void load(Loaded2 &out, const std::string &name) {
    testing::internal::CaptureStderr();
    out.result = out.k.loadBgeo(fixture(name));
    out.err = testing::internal::GetCapturedStderr();
}

std::vector<std::string> names(const Kelp &k) {
    std::vector<std::string> n;
    for (const AttributeData &a : k.getPointAttributes())
        n.push_back(a.name + ":" + std::to_string(a.type) + ":" + std::to_string(a.size));
    return n;
}

void expectVec(const V3 &got, float x, float y, float z) {
    EXPECT_NEAR(got.x, x, 1e-5f * (1 + std::abs(x)));
    EXPECT_NEAR(got.y, y, 1e-5f * (1 + std::abs(y)));
    EXPECT_NEAR(got.z, z, 1e-5f * (1 + std::abs(z)));
}

typedef std::vector<std::string> Names;

TEST(Fixtures, ParticleFileWithAnIndexPrimitiveAttribute) {
    REQUIRE_FIXTURES();
    Loaded2 r;
    load(r, "partio_test.bgeo");
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.k.getNumPoints(), 5u);
    EXPECT_EQ(r.k.getNumPrims(), 1u);
    EXPECT_EQ(r.k.getNumPrimAttrs(), 1u);
    EXPECT_EQ(names(r.k), (Names{"P:5:4", "life:0:2", "id:1:1"}));
    expectVec(r.k.getPointAttrVectorValue(0, 1), 0.1f, 0.2f, 0.3f);
    EXPECT_FLOAT_EQ(r.k.getPointAttrFloatValue(1, 0), -1.2f);
    EXPECT_FLOAT_EQ(r.k.getPointAttrFloatValue(1, 4), 2.8f);
    EXPECT_EQ(r.k.getPointAttributes()[2].int_data, (std::vector<std::int32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(r.k.getNumPolys(), 0u);
}

TEST(Fixtures, ScatterHasColourAndAnIndexWithAnEmptyString) {
    REQUIRE_FIXTURES();
    Loaded2 r;
    load(r, "partio_scatter.bgeo");
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(r.k.getNumPoints(), 25u);
    EXPECT_EQ(names(r.k), (Names{"P:5:4", "id:1:1", "Cd:5:3", "test:4:1"}));
    EXPECT_EQ(r.k.getPointAttributes()[1].int_default, -1);
    EXPECT_EQ(r.k.getPointAttributes()[2].vector_default, V3(1, 1, 1));
    expectVec(r.k.getPointAttrVectorValue(0, 0), -0.0386923f, -0.901715f, 1.37866f);
    expectVec(r.k.getPointAttrVectorValue(2, 0), 0.921943f, 0.664714f, 0.211193f);
    EXPECT_EQ(r.k.getPointAttributes()[3].int_data.size(), 25u);
    EXPECT_EQ(r.k.getPointAttributes()[1].int_data[24], 24);
}

TEST(Fixtures, DetailAttributeFilesAndAJsonNamedClassicFile) {
    REQUIRE_FIXTURES();
    Loaded2 base;
    load(base, "partio_base.bgeo");
    ASSERT_EQ(base.result, 1) << base.err;
    EXPECT_EQ(base.k.getNumPoints(), 5u);
    EXPECT_EQ(base.k.getNumPrims(), 0u);
    EXPECT_EQ(base.k.getNumAttrs(), 2u);
    EXPECT_EQ(names(base.k), (Names{"P:5:4", "life:0:2", "id:1:1"}));
    Loaded2 json;
    load(json, "partio_json.bgeo");
    ASSERT_EQ(json.result, 1) << json.err;
    EXPECT_EQ(names(json.k), (Names{"P:5:4", "life:0:2", "id:1:1", "someString:4:1"}));
    EXPECT_EQ(json.k.getPointAttributes()[3].int_data, (std::vector<std::int32_t>{0, 1, 0, 1, 1}));
    expectVec(json.k.getPointAttrVectorValue(0, 4), 0.4f, 0.5f, 0.6f);
}

TEST(Fixtures, HoudiniParticlesWithAnExtraSection) {
    REQUIRE_FIXTURES();
    Loaded2 r;
    load(r, "cortex_v1_particleTest.0004.bgeo");
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(r.k.getNumPoints(), 17u);
    EXPECT_EQ(r.k.getNumPrims(), 1u);
    EXPECT_EQ(r.k.getNumAttrs(), 2u);
    EXPECT_EQ(names(r.k), (Names{"P:5:4", "v:5:3", "accel:5:3", "life:0:2", "pstate:1:1", "id:1:1",
                                 "parent:1:1"}));
    expectVec(r.k.getPointAttrVectorValue(0, 0), 0.111076f, 0.0538662f, 0.00215626f);
    expectVec(r.k.getPointAttrVectorValue(1, 0), 0.888607f, 0.430929f, 0.0172501f);
    EXPECT_EQ(r.k.getPointAttributes()[5].int_data[16], 17);
    EXPECT_FLOAT_EQ(r.k.getPointAttrFloatValue(3, 0), 0.125f);
}

TEST(Fixtures, OlderFilesHaveAOneComponentVector) {
    REQUIRE_FIXTURES();
    Loaded2 r;
    load(r, "fem_test.bgeo");
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(r.k.getNumPoints(), 3u);
    EXPECT_EQ(names(r.k), (Names{"P:5:4", "m:0:1", "v:5:3"}));
    EXPECT_EQ(r.k.getPointAttrVectorValue(0, 2), V3(3, 3, 3));
    EXPECT_EQ(r.k.getPointAttributes()[1].float_data, (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(r.k.getPointAttrVectorValue(2, 0), V3(100, 100, 100));
    Loaded2 frame;
    load(frame, "fem_frame000.bgeo");
    ASSERT_EQ(frame.result, 1) << frame.err;
    EXPECT_EQ(frame.k.getNumPoints(), 8u);
    EXPECT_EQ(names(frame.k), (Names{"P:5:4", "m:0:1", "v:5:3"}));
    EXPECT_EQ(frame.k.getPointAttributes()[1].float_data, std::vector<float>(8, 1.0f));
}

TEST(Fixtures, VectorsOfTwoAndFourComponents) {
    REQUIRE_FIXTURES();
    Loaded2 r;
    load(r, "mpm_single.bgeo");
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(r.k.getNumPoints(), 1u);
    EXPECT_EQ(names(r.k), (Names{"P:5:4", "rest:5:2", "velocity:5:2", "B:5:4", "gradientE:5:4",
                                 "gradientP:5:4", "color:5:3", "mass:0:1", "rho:0:1", "vol:0:1"}));
    EXPECT_EQ(r.k.getPointAttrVectorValue(0, 0), V3(0, 0.5f, 0));
    EXPECT_EQ(r.k.getPointAttrVectorValue(1, 0), V3(0, 0.5f, 0));
    EXPECT_EQ(r.k.getPointAttrVectorValue(2, 0), V3(0, 0.5f, 0));
    EXPECT_EQ(r.k.getPointAttrVectorValue(3, 0), V3(0, 0, 0));
    EXPECT_EQ(r.k.getPointAttrVectorValue(4, 0), V3(1, 0, 0));
    EXPECT_EQ(r.k.getPointAttrVectorValue(6, 0), V3(1, 0, 0));
    EXPECT_EQ(r.k.getPointAttrFloatValue(7, 0), 1.0f);
}

TEST(Fixtures, SimulatorFileIsGzipUnderAPlainName) {
    REQUIRE_FIXTURES();
    Loaded2 r;
    load(r, "splashsurf_ParticleData_Fluid_50.bgeo");
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(r.k.getNumPoints(), 4732u);
    EXPECT_EQ(names(r.k), (Names{"P:5:4", "id:1:1", "velocity:5:3"}));
    expectVec(r.k.getPointAttrVectorValue(0, 0), -0.399794f, 0.00549587f, -0.15133f);
    expectVec(r.k.getPointAttrVectorValue(2, 0), -0.212161f, -0.0456397f, 0.170455f);
    EXPECT_EQ(r.k.getPointAttributes()[1].int_data[0], 2392);
    EXPECT_EQ(r.k.getPointAttributes()[0].vector_data.size(), 4732u);
}

TEST(Fixtures, TheAsciiFilePassesThePathTest) {
    REQUIRE_FIXTURES();
    Loaded2 r;
    load(r, "partio_test.geo");
    EXPECT_EQ(r.err.find("file type extension"), std::string::npos) << r.err;
}

TEST(Fixtures, EveryClassicFileSurvivesCutsAndDamage) {
    REQUIRE_FIXTURES();
    for (const char *name : {"partio_test.bgeo", "partio_scatter.bgeo", "mpm_single.bgeo",
                             "cortex_v1_particleTest.0004.bgeo", "fem_frame000.bgeo"}) {
        Bytes bytes = readFileBytes(fixture(name));
        for (std::size_t n = 0; n < bytes.size(); n += 3) {
            Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
            Kelp k;
            Loaded r = loadInto(k, cut);
            ASSERT_TRUE(r.result == 0 || r.result == 1);
            if (r.result == 0) {
                ASSERT_EQ(lineCount(r.err), 1) << r.err;
            }
        }
    }
}

} // namespace
