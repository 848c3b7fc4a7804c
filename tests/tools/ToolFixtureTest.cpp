// The real files: info, check and the in-process loader agree on every one,
// --json always parses, and what loads converts to the JSON and the classic
// forms and back without a change to the model.
#include "ToolRun.h"

#include <cstring>

#include <sys/stat.h>

using namespace tooltest;

namespace {

std::vector<std::string> fixtures() {
    std::vector<std::string> files;
    for (const char *dir : {KELP_FIXTURES_CLASSIC, KELP_FIXTURES_JSON}) {
        struct stat st;
        if (stat(dir, &st) != 0 || !S_ISDIR(st.st_mode))
            continue;
        for (const auto &entry : std::filesystem::directory_iterator(dir))
            if (entry.path().extension() != ".md")
                files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(ToolFixtures, InfoAndCheckAgreeWithTheLoader) {
    const std::vector<std::string> files = fixtures();
    if (files.empty())
        GTEST_SKIP() << "no fixtures in " << KELP_FIXTURES_CLASSIC << " or " << KELP_FIXTURES_JSON;
    for (const std::string &file : files) {
        SCOPED_TRACE(file);
        Kelp k;
        testing::internal::CaptureStderr();
        const bool loads = k.loadBgeo(file) == 1;
        testing::internal::GetCapturedStderr();

        const RunResult check = runKelp({"check", file});
        EXPECT_EQ(check.status, loads ? 0 : 1);
        EXPECT_EQ(check.out.compare(0, file.size() + 2, file + ": "), 0) << check.out;
        if (loads) {
            EXPECT_EQ(check.out, file + ": ok (" + std::to_string(k.getNumPoints()) + " points, " +
                                     std::to_string(k.getNumVerts()) + " vertices, " +
                                     std::to_string(k.getNumPrims()) + " primitives)\n");
        }

        const RunResult info = runKelp({"info", "--json", file});
        EXPECT_EQ(info.status, loads ? 0 : 1);
        const Json doc = parseJson(info.out);
        EXPECT_EQ(doc[0]["ok"].boolean, loads);
        if (!loads)
            continue;
        EXPECT_EQ(doc[0]["points"].number, k.getNumPoints());
        EXPECT_EQ(doc[0]["attributes"].items.size(),
                  k.getPointAttributes().size() + k.getVertexAttributes().size());
        EXPECT_EQ(doc[0]["primitiveKinds"]["polygons"].number, k.getNumPolys());
        EXPECT_EQ(doc[0]["leftOut"]["packed"].number, k.getSkippedPrimitives().packed);
        EXPECT_EQ(doc[0]["leftOut"]["openCurves"].number, k.getSkippedPrimitives().curves);
        EXPECT_EQ(doc[0]["leftOut"]["otherPrimitives"].number, k.getSkippedPrimitives().other);
    }
}

TEST(ToolFixtures, ThePackedFileShowsItsPiecesAsPolygons) {
    const std::string file =
        std::string(KELP_FIXTURES_JSON) + "/labs_physics_painter_packed_h185.bgeo.sc";
    struct stat st;
    if (stat(file.c_str(), &st) != 0)
        GTEST_SKIP() << "fixture absent: " << file;
    const RunResult info = runKelp({"info", file});
    EXPECT_EQ(info.status, 0);
    // 81 polygons of the file and 12879 of its 23 packed pieces.
    EXPECT_NE(info.out.find("  points 7627, vertices 40776, primitives 104\n"), std::string::npos)
        << info.out;
    EXPECT_NE(info.out.find("  primitives: 12960 polygons\n"
                            "  left out by the reader: nothing\n"),
              std::string::npos)
        << info.out;
}

TEST(ToolFixtures, FormsAreToldByTheirBytes) {
    const struct {
        const char *dir, *name, *words;
    } cases[] = {
        {KELP_FIXTURES_CLASSIC, "partio_test.geo", "classic ASCII, plain"},
        {KELP_FIXTURES_CLASSIC, "partio_json.bgeo", "classic binary, plain"},
        {KELP_FIXTURES_CLASSIC, "splashsurf_ParticleData_Fluid_50.bgeo", "classic binary, gzip"},
        {KELP_FIXTURES_JSON, "laika_sphere_grid_h165.geo", "JSON ASCII, plain"},
        {KELP_FIXTURES_JSON, "splish_box_h195.bgeo.gz", "JSON binary, gzip"},
        {KELP_FIXTURES_JSON, "splish_cruiser_h195.bgeo.sc", "JSON binary, Blosc"},
    };
    for (const auto &c : cases) {
        const std::string path = std::string(c.dir) + "/" + c.name;
        struct stat st;
        if (stat(path.c_str(), &st) != 0)
            continue;
        const RunResult r = runKelp({"info", path});
        EXPECT_EQ(r.out.compare(0, path.size() + 11 + std::strlen(c.words) + 1,
                                path + "\n  format: " + c.words + "\n"),
                  0)
            << r.out;
    }
}

// The tool's convert is the library's load and save: for each real file it
// succeeds exactly when an in-process save does, and writes the same model.
TEST(ToolFixtures, ConvertMatchesTheLibrary) {
    const std::vector<std::string> files = fixtures();
    if (files.empty())
        GTEST_SKIP() << "no fixtures";
    ScratchDir dir;
    int converted = 0;
    int index = 0;
    for (const std::string &file : files) {
        const std::string stem = std::to_string(++index);
        Kelp source;
        testing::internal::CaptureStderr();
        const bool loads = source.loadBgeo(file) == 1;
        testing::internal::GetCapturedStderr();
        if (!loads)
            continue;
        SCOPED_TRACE(file);
        for (const char *ext : {".bgeo.sc", ".bgeo.gz", ".bgeo"}) {
            SCOPED_TRACE(ext);
            const std::string ref = dir / ("ref" + stem + ext);
            const std::string out = dir / ("out" + stem + ext);
            testing::internal::CaptureStderr();
            const bool saves = source.saveBgeo(ref, KelpFormat::Classic) == 1;
            const std::string why = testing::internal::GetCapturedStderr();
            const RunResult r = runKelp({"convert", file, out});
            EXPECT_EQ(r.status, saves ? 0 : 1) << r.err;
            if (!saves) {
                // The saver's reason, without its note on the form.
                EXPECT_NE(r.err, "");
                EXPECT_NE(why.find(r.err.substr(r.err.find(": ", r.err.find(out)))),
                          std::string::npos)
                    << r.err << " / " << why;
                EXPECT_FALSE(std::filesystem::exists(out));
                continue;
            }
            if (std::string(ext) == ".bgeo") {
                EXPECT_EQ(readFile(out), readFile(ref)) << "the tool writes other bytes";
            }
            Kelp a, b;
            testing::internal::CaptureStderr();
            const bool refLoads = a.loadBgeo(ref) == 1;
            const bool outLoads = b.loadBgeo(out) == 1;
            testing::internal::GetCapturedStderr();
            // What the library itself cannot read back (see the disabled test
            // below) the tool cannot either.
            EXPECT_EQ(outLoads, refLoads);
            if (!refLoads || !outLoads)
                continue;
            expectSameModel(a, b);
            // Points and polygons come through every form unchanged.
            EXPECT_EQ(b.getNumPoints(), source.getNumPoints());
            EXPECT_EQ(b.getPolygons().size(), source.getPolygons().size());
            EXPECT_EQ(b.getPointAttributes()[0].vector_data,
                      source.getPointAttributes()[0].vector_data);
            ++converted;
        }
    }
    EXPECT_GT(converted, 0);
}

// A known fault of the classic saver, kept here as found: a detail loaded
// from a JSON file with primitive attributes (or groups) keeps their counts,
// and a classic save writes those counts into its header with no entries
// after them, so the file it writes does not load. Enable once fixed.
TEST(ToolFixtures, ClassicCopyOfAJsonFileWithPrimitiveAttributesLoads) {
    const std::string file =
        std::string(KELP_FIXTURES_JSON) + "/labs_cylinder_generator_h185.bgeo.sc";
    struct stat st;
    if (stat(file.c_str(), &st) != 0)
        GTEST_SKIP() << file << " is absent";
    ScratchDir dir;
    ASSERT_EQ(runKelp({"convert", file, dir / "copy.bgeo"}).status, 0);
    const RunResult r = runKelp({"check", dir / "copy.bgeo"});
    EXPECT_EQ(r.status, 0) << r.out;
}

} // namespace
