// The form and compression a save picks from the file's name, and the lines
// it prints on standard error.
#include "SaveTestSupport.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <sys/stat.h>

using namespace savetest;

extern int global_doDebug;

namespace {

struct FormCase {
    const char *testName;
    const char *path; // inside the scratch folder
    int result;
    const char *kind; // "binary", "text" or "" (no file)
    bool gzip;
    const char *message;
};

const FormCase kFormCases[] = {
    {"Bgeo", "cube.bgeo", 1, "binary", false, "BGEO code saving file as: bgeo\n"},
    {"BgeoGz", "cube.bgeo.gz", 1, "binary", true, "BGEO code saving file as: gz\n"},
    {"Geo", "cube.geo", 1, "text", false, "GEO code saving file as : geo\n"},
    {"GeoGz", "cube.geo.gz", 1, "text", true, "GEO code saving file as : gz\n"},
    {"BgeoDotIsCompressed", "cube.bgeo.", 1, "binary", true, "BGEO code saving file as: \n"},
    {"BgeoGIsCompressed", "cube.bgeo.g", 1, "binary", true, "BGEO code saving file as: g\n"},
    {"BgeoZIsCompressed", "cube.bgeo.z", 1, "binary", true, "BGEO code saving file as: z\n"},
    {"FolderNamedGeoHoldingBgeo", "x.geo/f.bgeo", 1, "binary", false,
     "BGEO code saving file as: bgeo\n"},
    {"FolderNamedBgeoHoldingGeo", "x.bgeo/f.geo", 1, "text", false,
     "GEO code saving file as : geo\n"},
    {"FramePadding", "cube.0001.bgeo", 1, "binary", false, "BGEO code saving file as: bgeo\n"},
    {"Obj", "cube.obj", 0, "", false,
     "could not detect .geo or  .bgeo file extensions with or without .gz : Quitting "},
    {"FolderNamedBgeoHoldingObj", "x.bgeo/cube.obj", 0, "", false,
     "could not detect .geo or  .bgeo file extensions with or without .gz : Quitting "},
};

void PrintTo(const FormCase &c, std::ostream *os) {
    *os << c.path;
}

class SaveForm : public testing::TestWithParam<FormCase> {};

TEST_P(SaveForm, FollowsTheFileName) {
    const FormCase &c = GetParam();
    ScratchDir dir;
    std::filesystem::create_directories(dir / "x.geo");
    std::filesystem::create_directories(dir / "x.bgeo");
    const std::string path = dir / c.path;
    Kelp k;
    fillTriangle(k);
    testing::internal::CaptureStderr();
    const int result = k.saveBgeo(path);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, c.result);
    if (c.result == 0) {
        EXPECT_EQ(err, c.message + path + "\n");
        EXPECT_FALSE(exists(path));
        EXPECT_EQ(dir.list(), (std::vector<std::string>{"x.bgeo", "x.geo"}));
        return;
    }
    EXPECT_EQ(err, c.message);
    std::string bytes = readFile(path);
    EXPECT_EQ(isGzip(bytes), c.gzip);
    if (c.gzip)
        bytes = gunzip(bytes);
    if (std::string(c.kind) == "binary")
        EXPECT_EQ(bytes.substr(0, 5), "BgeoV");
    else
        EXPECT_EQ(bytes.substr(0, 13), "PGEOMETRY V5\n");
}

INSTANTIATE_TEST_SUITE_P(Names, SaveForm, testing::ValuesIn(kFormCases),
                         [](const testing::TestParamInfo<FormCase> &info) {
                             return std::string(info.param.testName);
                         });

class TraceOn {
public:
    TraceOn() { global_doDebug = 1; }
    ~TraceOn() { global_doDebug = 0; }
};

TEST(SaveTrace, BinaryTriangle) {
    ScratchDir dir;
    Kelp k;
    fillTriangle(k);
    std::string err;
    {
        TraceOn trace;
        testing::internal::CaptureStderr();
        EXPECT_EQ(k.saveBgeo(dir / "tri.bgeo"), 1);
        err = testing::internal::GetCapturedStderr();
    }
    EXPECT_EQ(err, "saving as regular bgeo as end of string is .bgeo\n"
                   "BGEO code saving file as: bgeo\n"
                   "BgeoV5\nNPoints 3 NPrims 1\nNPointGroups 0 NPrimGroups 0\n"
                   "NPointAttrib 0 NVertexAttrib 0 NPrimAttrib 0 NAttrib 0\n"
                   "P: (0 0 0) 1\n"
                   "P: (1 0 0) 1\n"
                   "P: (0 1 0) 1\n"
                   "\npoly header: -1 1 1\n 3 < 0 1 2\n255");
    // Tracing does not change the bytes.
    EXPECT_EQ(readFile(dir / "tri.bgeo").size(), 112u);
}

TEST(SaveTrace, VertexAttributesAndMap) {
    ScratchDir dir;
    Kelp k;
    fillTriangleWithUv(k);
    std::string err;
    {
        TraceOn trace;
        testing::internal::CaptureStderr();
        EXPECT_EQ(k.saveBgeo(dir / "tri.bgeo.gz"), 1);
        err = testing::internal::GetCapturedStderr();
    }
    EXPECT_NE(err.find("saving as bgeo.gz as end of string is .gz\n"), std::string::npos);
    EXPECT_NE(err.find("\nLAN: 1N 3 5 (0 0 0)\n"), std::string::npos) << err;
    EXPECT_NE(err.find("P: (0 0 0) 1writting other point attrs  N: (0 0 1)\n"), std::string::npos)
        << err;
    EXPECT_NE(err.find("vertex attr: 0vertex attribute name length: 2vertex attribute name: uv"
                       " 3vertex attribute Type: 0vertex attribute vector default: (0 0 0)"),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("\n 3 < 0uv: (0 0 0) 1uv: (1 0 0) 2uv: (0 1 0)\n255"), std::string::npos)
        << err;
}

TEST(SaveTrace, TextShowsEachValueOnce) {
    ScratchDir dir;
    Kelp k;
    fillTriangleWithNormals(k);
    std::string err;
    {
        TraceOn trace;
        testing::internal::CaptureStderr();
        EXPECT_EQ(k.saveBgeo(dir / "tri.geo"), 1);
        err = testing::internal::GetCapturedStderr();
    }
    EXPECT_EQ(err, "saving as regular bgeo as end of string is .geo\n"
                   "GEO code saving file as : geo\n"
                   "PGEOMETRY V5\nNPoints 3 NPrims 1\nNPointGroups 0 NPrimGroups 0\n"
                   "NPointAttrib 1 NVertexAttrib 0 NPrimAttrib 0 NAttrib 0"
                   // The vector encoder writes its two separating spaces
                   // through writeString, which echoes them.
                   "N 3 (0 0 0)  "
                   "P: (0 0 0)   1writting other point attrs  N: (0 0 1)  "
                   "P: (1 0 0)   1writting other point attrs  N: (0 0 1)  "
                   "P: (0 1 0)   1writting other point attrs  N: (0 0 1)  "
                   " 1\n 3 < 0 1 2\n");
}

// Modes and the umask: what POSIX systems have.
#ifndef _WIN32
TEST(SavePermissions, FollowTheUmask) {
    ScratchDir dir;
    Kelp k;
    fillTriangle(k);
    for (mode_t mask : {mode_t(022), mode_t(077), mode_t(0), mode_t(027)}) {
        const mode_t old = umask(mask);
        testing::internal::CaptureStderr();
        const int result = k.saveBgeo(dir / "perm.bgeo");
        testing::internal::GetCapturedStderr();
        umask(old);
        ASSERT_EQ(result, 1);
        struct stat st;
        ASSERT_EQ(stat((dir / "perm.bgeo").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask) << std::oct << mask;
    }
}
#endif

// A numeric punctuation with a comma, as a host in a German locale has.
class CommaDecimal : public std::numpunct<char> {
protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(SaveLocale, TextNumbersIgnoreTheProcessLocale) {
    ScratchDir dir;
    Kelp k;
    k.initialiseNew();
    k.setPointAttrVectorValue("P", V3f(0.5f, 1234.5f, 100000.0f));
    const std::locale old =
        std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    const char *cOld = std::setlocale(LC_ALL, nullptr);
    const std::string cSaved = cOld ? cOld : "C";
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    testing::internal::CaptureStderr();
    const int result = k.saveBgeo(dir / "p.geo");
    testing::internal::GetCapturedStderr();
    std::setlocale(LC_ALL, cSaved.c_str());
    std::locale::global(old);
    ASSERT_EQ(result, 1);
    EXPECT_NE(readFile(dir / "p.geo").find("\n0.5 1234.5 100000 1\n"), std::string::npos)
        << (german ? "with" : "without") << " the C library's German locale";
}

} // namespace
