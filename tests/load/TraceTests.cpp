// The trace of a load, byte for byte, and the messages of the path test.
#include "LoadHelpers.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using namespace kelptest;

struct TraceOn {
    TraceOn() { global_doDebug = 1; }
    ~TraceOn() { global_doDebug = 0; }
};

std::string tempPath(const std::string &name) {
    return testing::TempDir() + name;
}

// Two points with a colour, one vertex attribute, one triangle with a key.
ClassicBytes smallFile() {
    ClassicBytes b;
    b.header(3, 1, 1, 1);
    b.attr("Cd", 3, 0, {1, 1, 1});
    for (int i = 0; i < 3; ++i)
        b.point(float(i), 0.5f, 0).f32(0.25f).f32(0).f32(float(i));
    b.attr("uv", 3, 0);
    b.u32(1).u32(3).u8('<');
    for (int i = 0; i < 3; ++i)
        b.u16(std::uint16_t(i)).f32(float(i)).f32(1).f32(0);
    b.trailer();
    return b;
}

const char *kSmallTrace = "Kelp: BgeoV"
                          "\nbgeo version 5"
                          "\nNPoints  3 NPrims  1"
                          "\nNPointGroups  0 NPrimGroups  0"
                          "\nNPointAttrib  1 NVertexAttrib 1 NPrimAttrib 0 NAttrib 0"
                          "\nPointAttrib  : \n"
                          "LON: 2 Cd 3 0 (1 1 1)\n"
                          "P: (0 0.5 0)  1\t(0.25 0 0)\n"
                          "P: (1 0.5 0)  1\t(0.25 0 1)\n"
                          "P: (2 0.5 0)  1\t(0.25 0 2)\n"
                          "VERTEX ATTRIBS \n"
                          "vertex attr: 1LON: 2 uv 3  0 (0 0 0)"
                          "\npoly mode: 1"
                          "\nnumber of poly verts: 3 < 0 (0 1 0) 1 (1 1 0) 2 (2 1 0)";

TEST(Trace, ASmallLoadPrintsEveryValueAfterItsLabel) {
    ClassicBytes b = smallFile();
    Kelp k;
    Loaded r;
    {
        TraceOn on;
        r = loadInto(k, b);
    }
    ASSERT_EQ(r.result, 1);
    EXPECT_EQ(r.err, kSmallTrace);
}

TEST(Trace, RunsAndTheOpeningLinesOfAFile) {
    ClassicBytes b;
    b.header(3, 3);
    for (int i = 0; i < 3; ++i)
        b.point(0, 0, float(i));
    b.runHeader(3).polygon({0, 1, 2}).polygon({2, 1, 0}).polygon({1, 1, 1}).trailer();
    const std::string path = tempPath("trace_runs.bgeo");
    writeFileBytes(path, b.bytes());
    Kelp k;
    testing::internal::CaptureStderr();
    int result;
    {
        TraceOn on;
        result = k.loadBgeo(path);
    }
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, 1);
    const std::string body = "\nPointAttrib  : \n"
                             "P: (0 0 0)  1\n"
                             "P: (0 0 1)  1\n"
                             "P: (0 0 2)  1\n"
                             "VERTEX ATTRIBS \n"
                             " poly mode-1"
                             "\nnumber of Polygons: 3"
                             "\npolygon run mode: 1"
                             "\nnumber of poly verts: 3 < 0 1 2"
                             "\nnumber of poly verts: 3 < 2 1 0"
                             "\nnumber of poly verts: 3 < 1 1 1";
    EXPECT_EQ(err.rfind("opening as regular bgeo as end of string is .bgeo\nKelp: BgeoV", 0), 0u)
        << err;
    EXPECT_EQ(err.substr(err.size() - body.size()), body);
    std::remove(path.c_str());
}

TEST(Trace, TheNameChoosesTheWordingAndTheBytesTheReading) {
    const Bytes plain = triangleFile().bytes();
    const Bytes packed = gzipBytes(plain);
    struct Case {
        const char *name;
        const Bytes *bytes;
        const char *line;
    } cases[] = {
        {"t.bgeo.gz", &packed, "openig as bgeo.gz as end of string is .gz\n"},
        {"t.bgeo.gz", &plain, "openig as bgeo.gz as end of string is .gz\n"},
        {"t.bgeo", &packed, "opening as regular bgeo as end of string is .bgeo\n"},
        {"t.bgeo.", &plain, "openig as bgeo.gz as end of string is .\n"},
        {"t.bgeo.z", &plain, "openig as bgeo.gz as end of string is .z\n"},
    };
    for (const Case &c : cases) {
        const std::string path = tempPath(c.name);
        writeFileBytes(path, *c.bytes);
        Kelp k;
        testing::internal::CaptureStderr();
        int result;
        {
            TraceOn on;
            result = k.loadBgeo(path);
        }
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(result, 1) << c.name;
        EXPECT_EQ(err.rfind(std::string(c.line) + "Kelp: BgeoV", 0), 0u) << err;
        EXPECT_EQ(k.getNumPolys(), 1u);
        std::remove(path.c_str());
    }
}

TEST(Trace, NothingIsPrintedWhenTracingIsOff) {
    Kelp k;
    Loaded r = loadInto(k, smallFile());
    EXPECT_EQ(r.result, 1);
    EXPECT_EQ(r.err, "");
}

TEST(Trace, AFailureEndsTheTraceWithItsLine) {
    ClassicBytes b = smallFile();
    Bytes cut(b.bytes().begin(), b.bytes().begin() + 70);
    Kelp k;
    Loaded r;
    {
        TraceOn on;
        r = loadInto(k, cut, "cut.bgeo");
    }
    EXPECT_EQ(r.result, 0);
    const std::string last = "\ncould not load cut.bgeo: the point count 3 needs 3 records of 28 "
                             "bytes, but only 7 bytes are left at byte 63\n";
    ASSERT_GE(r.err.size(), last.size());
    EXPECT_EQ(r.err.substr(r.err.size() - last.size()), last);
}

} // namespace
