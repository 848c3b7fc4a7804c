// kelp convert: round trips between forms, frame tokens and ranges, failures
// that leave files as they were.
#include "ToolRun.h"

using namespace tooltest;

namespace {

Kelp loaded(const std::string &path) {
    Kelp k;
    EXPECT_EQ(k.loadBgeo(path), 1) << path;
    return k;
}

std::string head(const std::string &path, std::size_t n) {
    return readFile(path).substr(0, n);
}

TEST(ToolConvert, RoundTripsKeepTheModel) {
    ScratchDir dir;
    saveSmall(dir / "in.bgeo");
    const Kelp source = loaded(dir / "in.bgeo");
    const struct {
        const char *out;
        const char *format; // nullptr: no --format
    } cases[] = {{"a.bgeo", nullptr},    {"b.bgeo", "json"},     {"c.bgeo.gz", "classic"},
                 {"d.bgeo.gz", "json"},  {"e.bgeo.sc", nullptr}, {"f.bgeo.sc", "classic"},
                 {"g.json.bgeo", "json"}};
    for (const auto &c : cases) {
        std::vector<std::string> args{"convert", "in.bgeo", c.out};
        if (c.format) {
            args.push_back("--format");
            args.push_back(c.format);
        }
        const RunResult r = runKelp(args, dir.path());
        EXPECT_EQ(r.status, 0) << c.out << ": " << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "") << c.out;
        SCOPED_TRACE(c.out);
        expectSameModel(source, loaded(dir / c.out));
    }
    // And back from the JSON forms to classic.
    for (const char *from : {"b.bgeo", "d.bgeo.gz", "e.bgeo.sc"}) {
        const RunResult r = runKelp({"convert", from, "back.bgeo"}, dir.path());
        EXPECT_EQ(r.status, 0) << from << ": " << r.err;
        EXPECT_EQ(head(dir / "back.bgeo", 5), "BgeoV") << from;
        SCOPED_TRACE(from);
        expectSameModel(source, loaded(dir / "back.bgeo"));
    }
}

// The name and --format decide the bytes written.
TEST(ToolConvert, NamesAndFormatChooseTheForm) {
    ScratchDir dir;
    saveSmall(dir / "in.bgeo");
    const struct {
        const char *out;
        const char *format;
        std::string magic;
    } cases[] = {{"a.bgeo", "classic", "BgeoV"},    {"b.bgeo", "json", "\x7FNSJb"},
                 {"c.bgeo.gz", "json", "\x1F\x8B"}, {"d.bgeo.sc", "classic", "scf1"},
                 {"e.bhclassic", "json", "BgeoV"},  {"f.hclassic", "json", "PGEOMETRY"},
                 {"g.geo", "classic", "PGEOMETRY"}, {"h.geo", "json", "["}};
    for (const auto &c : cases) {
        const RunResult r =
            runKelp({"convert", "in.bgeo", c.out, "--format=" + std::string(c.format)}, dir.path());
        EXPECT_EQ(r.status, 0) << c.out << ": " << r.err;
        EXPECT_EQ(head(dir / c.out, c.magic.size()), c.magic) << c.out;
    }
}

TEST(ToolConvert, RangeWithPaddedTokensAndStep) {
    ScratchDir dir;
    for (int f = 1; f <= 7; ++f) {
        char name[32];
        std::snprintf(name, sizeof name, "in.%04d.bgeo", f);
        saveSmall(dir / name, KelpFormat::Classic, static_cast<float>(f));
    }
    const RunResult r =
        runKelp({"convert", "in.$F4.bgeo", "out.####.bgeo.gz", "--range", "1-7:3"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::vector<std::string> written;
    for (const std::string &name : dir.list())
        if (name.compare(0, 4, "out.") == 0)
            written.push_back(name);
    EXPECT_EQ(written, (std::vector<std::string>{"out.0001.bgeo.gz", "out.0004.bgeo.gz",
                                                 "out.0007.bgeo.gz"}));
    for (int f : {1, 4, 7}) {
        char name[32];
        std::snprintf(name, sizeof name, "out.%04d.bgeo.gz", f);
        const Kelp k = loaded(dir / name);
        ASSERT_EQ(k.getNumPoints(), 3u);
        EXPECT_EQ(k.getPointAttrVectorValue(0, 0).x, static_cast<float>(f)) << name;
    }
}

TEST(ToolConvert, UnpaddedTokensAndLongFrames) {
    ScratchDir dir;
    saveSmall(dir / "still.bgeo");
    // One file into a sequence: each frame a copy.
    RunResult r =
        runKelp({"convert", "still.bgeo", "s.$F.#.##.bgeo", "--range", "9-10"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    r = runKelp({"convert", "still.bgeo", "p.$F2.bgeo", "--range", "123-123"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.list(), (std::vector<std::string>{"p.123.bgeo", "s.10.10.10.bgeo",
                                                    "s.9.9.09.bgeo", "still.bgeo"}));
}

TEST(ToolConvert, StopsAtTheFirstFailedFrame) {
    ScratchDir dir;
    saveSmall(dir / "f1.bgeo");
    saveSmall(dir / "f2.bgeo");
    writeFile(dir / "f3.bgeo", "not geometry");
    saveSmall(dir / "f4.bgeo");
    const RunResult r = runKelp({"convert", "f#.bgeo", "g#.bgeo.sc", "--range", "1-4"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "could not load f3.bgeo: not a geometry file Kelp reads (it starts with 6E "
                     "6F 74 20 67 65 6F 6D)\nkelp convert: stopped at frame 3 (2 of 4 frames "
                     "written)\n");
    EXPECT_EQ(dir.list(), (std::vector<std::string>{"f1.bgeo", "f2.bgeo", "f3.bgeo", "f4.bgeo",
                                                    "g1.bgeo.sc", "g2.bgeo.sc"}));
}

TEST(ToolConvert, IntoAMissingFolderLeavesNothing) {
    ScratchDir dir;
    saveSmall(dir / "in.bgeo");
    const std::vector<std::string> before = dir.list();
    for (const char *format : {"classic", "json"}) {
        const RunResult r =
            runKelp({"convert", "in.bgeo", "no/such/out.bgeo", "--format", format}, dir.path());
        EXPECT_EQ(r.status, 1) << format;
        EXPECT_NE(r.err.find("no/such/out.bgeo"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("code saving file as"), std::string::npos) << r.err;
        EXPECT_EQ(dir.list(), before);
    }
}

TEST(ToolConvert, AFailedConvertLeavesAnExistingOutUntouched) {
    ScratchDir dir;
    saveSmall(dir / "old.bgeo.sc");
    const std::string previous = readFile(dir / "old.bgeo.sc");
    saveSmall(dir / "in.bgeo");
    const std::string good = readFile(dir / "in.bgeo");
    writeFile(dir / "cut.bgeo", good.substr(0, good.size() / 3));
    const std::vector<std::string> before = dir.list();

    for (const char *in : {"cut.bgeo", "missing.bgeo"}) {
        const RunResult r = runKelp({"convert", in, "old.bgeo.sc"}, dir.path());
        EXPECT_EQ(r.status, 1) << in;
        EXPECT_EQ(r.err.compare(0, 15, "could not load "), 0) << r.err;
        EXPECT_EQ(readFile(dir / "old.bgeo.sc"), previous) << in;
        EXPECT_EQ(dir.list(), before) << in;
    }
    // A name the saver refuses.
    const RunResult r = runKelp({"convert", "in.bgeo", "out.txt"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("out.txt"), std::string::npos) << r.err;
    EXPECT_EQ(dir.list(), before);
}

TEST(ToolConvert, QuietWhenStderrIsNotATerminal) {
    ScratchDir dir;
    saveSmall(dir / "a1.bgeo");
    saveSmall(dir / "a2.bgeo");
    const RunResult r = runKelp({"convert", "a#.bgeo", "b#.bgeo", "--range", "1-2"}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST(ToolConvert, UsageErrorsExitTwo) {
    ScratchDir dir;
    saveSmall(dir / "in.bgeo");
    saveSmall(dir / "in1.bgeo");
    const std::vector<std::vector<std::string>> cases = {
        {"convert"},
        {"convert", "in.bgeo"},
        {"convert", "in.bgeo", "a.bgeo", "b.bgeo"},
        {"convert", "in.bgeo", "a.bgeo", "--format"},
        {"convert", "in.bgeo", "a.bgeo", "--format", "xml"},
        {"convert", "in.bgeo", "a.bgeo", "--fast"},
        {"convert", "in.bgeo", "a.bgeo", "--range", "1-3"},
        {"convert", "in#.bgeo", "a#.bgeo"},
        {"convert", "in.bgeo", "a.$F4.bgeo"},
        {"convert", "in#.bgeo", "a.bgeo", "--range", "1-1"},
        {"convert", "in#.bgeo", "a#.bgeo", "--range", "3-1"},
        {"convert", "in#.bgeo", "a#.bgeo", "--range", "1-3:0"},
        {"convert", "in#.bgeo", "a#.bgeo", "--range", "1-3:"},
        {"convert", "in#.bgeo", "a#.bgeo", "--range", "-1-3"},
        {"convert", "in#.bgeo", "a#.bgeo", "--range", "1"},
        {"convert", "in#.bgeo", "a#.bgeo", "--range", "a-b"},
        {"convert", "in#.bgeo", "a#.bgeo", "--range", "1-3x"},
        {"convert", "in#.bgeo", "a#.bgeo", "--range", "1-9999999999"},
        {"convert", "in#.bgeo", "a#.bgeo", "--range", "1-2", "--range", "1-2"},
    };
    for (const std::vector<std::string> &args : cases) {
        std::string line;
        for (const std::string &a : args)
            line += a + ' ';
        const RunResult r = runKelp(args, dir.path());
        EXPECT_EQ(r.status, 2) << line;
        EXPECT_NE(r.err.find("usage: kelp convert IN OUT"), std::string::npos) << line << r.err;
    }
    // Nothing was written by any of them.
    EXPECT_EQ(dir.list(), (std::vector<std::string>{"in.bgeo", "in1.bgeo"}));
}

} // namespace
