// kelp info: exact text for a small known file, the JSON form, failures.
#include "ToolRun.h"

using namespace tooltest;

namespace {

const char *const kSmallBody =
    "  points 3, vertices 5, primitives 2\n"
    "  point attribute \"P\": vector, size 4, 3 of 4 components kept, first (0.5 0 0) "
    "(1 -2.25 0) (0 1 0.001)\n"
    "  point attribute \"N\": vector, size 3, first (0 0 1) (0 0 1) (0 0 1)\n"
    "  vertex attribute \"uv\": vector, size 3, first (0 0.5 0) (0.1 0.5 0) (0.2 0.5 0) ...\n"
    "  not kept: 0 primitive attributes, 0 detail attributes, 0 point groups, 0 primitive "
    "groups\n"
    "  primitives: 2 polygons (1 of fewer than 3 vertices)\n"
    "  left out by the reader: 1 polygon of fewer than 3 vertices\n";

TEST(ToolInfo, ExactLinesForASmallClassicFile) {
    ScratchDir dir;
    saveSmall(dir / "small.bgeo");
    const RunResult r = runKelp({"info", "small.bgeo"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string("small.bgeo\n  format: classic binary, plain\n") + kSmallBody);
    EXPECT_EQ(r.err, "");
}

// The form comes from the bytes: the same detail in every container, and
// under a name that says otherwise.
TEST(ToolInfo, FormatLineFollowsTheBytes) {
    ScratchDir dir;
    saveSmall(dir / "a.bgeo.gz");
    saveSmall(dir / "b.bgeo", KelpFormat::Json);
    saveSmall(dir / "c.bgeo.sc");
    saveSmall(dir / "d.bgeo.gz", KelpFormat::Json);
    std::filesystem::rename(dir / "a.bgeo.gz", dir / "a.bgeo");
    const struct {
        const char *name, *words;
    } cases[] = {{"a.bgeo", "classic binary, gzip"},
                 {"b.bgeo", "JSON binary, plain"},
                 {"c.bgeo.sc", "JSON binary, Blosc"},
                 {"d.bgeo.gz", "JSON binary, gzip"}};
    for (const auto &c : cases) {
        const RunResult r = runKelp({"info", c.name}, dir.path());
        EXPECT_EQ(r.status, 0) << c.name << r.err;
        // The detail loads the same from every form, and so does the body.
        EXPECT_EQ(r.out, std::string(c.name) + "\n  format: " + c.words + "\n" + kSmallBody)
            << c.name;
    }
}

TEST(ToolInfo, JsonHoldsTheSameFacts) {
    ScratchDir dir;
    saveSmall(dir / "small.bgeo");
    writeFile(dir / "notes.bgeo", "just some text\n");
    const RunResult r = runKelp({"info", "--json", "small.bgeo", "notes.bgeo"}, dir.path());
    EXPECT_EQ(r.status, 1);
    const Json doc = parseJson(r.out);
    ASSERT_EQ(doc.kind, Json::Array);
    ASSERT_EQ(doc.items.size(), 2u);

    const Json &good = doc[0];
    EXPECT_EQ(good["file"].text, "small.bgeo");
    EXPECT_TRUE(good["ok"].boolean);
    EXPECT_EQ(good["format"]["family"].text, "classic");
    EXPECT_EQ(good["format"]["encoding"].text, "binary");
    EXPECT_EQ(good["format"]["container"].text, "plain");
    EXPECT_EQ(good["points"].number, 3);
    EXPECT_EQ(good["vertices"].number, 5);
    EXPECT_EQ(good["primitives"].number, 2);
    const Json &attrs = good["attributes"];
    ASSERT_EQ(attrs.items.size(), 3u);
    EXPECT_EQ(attrs[0]["name"].text, "P");
    EXPECT_EQ(attrs[0]["class"].text, "point");
    EXPECT_EQ(attrs[0]["storage"].text, "vector");
    EXPECT_EQ(attrs[0]["size"].number, 4);
    EXPECT_EQ(attrs[0]["kept"].number, 3);
    EXPECT_EQ(attrs[0]["elements"].number, 3);
    ASSERT_EQ(attrs[0]["first"].items.size(), 3u);
    EXPECT_EQ(attrs[0]["first"][1][1].number, -2.25);
    EXPECT_EQ(attrs[0]["first"][2][2].number, 0.001);
    EXPECT_EQ(attrs[2]["name"].text, "uv");
    EXPECT_EQ(attrs[2]["class"].text, "vertex");
    EXPECT_EQ(attrs[2]["elements"].number, 5);
    EXPECT_EQ(attrs[2]["first"][1][0].number, 0.1);
    EXPECT_EQ(good["primitiveKinds"]["polygons"].number, 2);
    EXPECT_EQ(good["primitiveKinds"]["shortPolygons"].number, 1);
    EXPECT_EQ(good["leftOut"]["shortPolygons"].number, 1);
    EXPECT_EQ(good["leftOut"]["otherPrimitives"].number, 0);

    const Json &bad = doc[1];
    EXPECT_EQ(bad["file"].text, "notes.bgeo");
    EXPECT_FALSE(bad["ok"].boolean);
    EXPECT_EQ(bad["format"]["family"].kind, Json::Null);
    EXPECT_EQ(bad["error"].text,
              "not a geometry file Kelp reads (it starts with 6A 75 73 74 20 73 6F 6D)");
}

// Names with quotes, backslashes, control characters and UTF-8 stay valid JSON
// and read back as the same bytes.
TEST(ToolInfo, JsonEscapesNames) {
    ScratchDir dir;
    const std::string name = "we\"ird\\na\tme\x01 caf\xC3\xA9.bgeo";
    saveSmall(dir / name);
    const RunResult r = runKelp({"info", "--json", name}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    const Json doc = parseJson(r.out);
    EXPECT_EQ(doc[0]["file"].text, name);
}

TEST(ToolInfo, FailuresExitOneAndSayWhy) {
    ScratchDir dir;
    writeFile(dir / "text.bgeo", "hello\n");
    writeFile(dir / "empty.bgeo", "");
    saveSmall(dir / "whole.bgeo");
    const std::string bytes = readFile(dir / "whole.bgeo");
    writeFile(dir / "cut.bgeo", bytes.substr(0, bytes.size() / 2));
    saveSmall(dir / "ascii.geo");

    RunResult r = runKelp({"info", "text.bgeo"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "text.bgeo\n  format: not a geometry file (it starts with 68 65 6C 6C 6F "
                     "0A)\n  could not load: not a geometry file Kelp reads (it starts with 68 "
                     "65 6C 6C 6F 0A)\n");

    r = runKelp({"info", "missing.bgeo"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "missing.bgeo\n  format: cannot be opened\n  could not load: cannot open "
                     "the file (No such file or directory)\n");

    r = runKelp({"info", "empty.bgeo"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "empty.bgeo\n  format: empty\n  could not load: the file is empty\n");

    r = runKelp({"info", "cut.bgeo"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("  format: classic binary, plain\n  could not load: "), std::string::npos)
        << r.out;

    // The text form loads, and says so.
    r = runKelp({"info", "ascii.geo"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("  format: classic ASCII, plain\n"), std::string::npos) << r.out;

    // One bad file among good ones fails the run, and every file is shown.
    r = runKelp({"info", "whole.bgeo", "text.bgeo", "whole.bgeo"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2 * 9 + 3) << r.out;
}

TEST(ToolInfo, UsageErrorsExitTwo) {
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"info"}, {"info", "--jsn", "x.bgeo"}, {"info", "--json"}}) {
        const RunResult r = runKelp(args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_NE(r.err.find("usage: kelp info"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

TEST(ToolHelp, EveryVerbAndTheToolHaveHelp) {
    for (const std::vector<std::string> &args : {std::vector<std::string>{"--help"},
                                                 {"help"},
                                                 {"help", "info"},
                                                 {"info", "--help"},
                                                 {"convert", "--help"},
                                                 {"check", "-h"}}) {
        const RunResult r = runKelp(args);
        EXPECT_EQ(r.status, 0) << args[0];
        EXPECT_EQ(r.out.compare(0, 11, "usage: kelp"), 0) << r.out;
        EXPECT_EQ(r.err, "");
    }
    EXPECT_NE(runKelp({"convert", "--help"}).out.find("--range A-B[:STEP]"), std::string::npos);
}

TEST(ToolHelp, UnknownVerbOrNoneExitsTwo) {
    for (const std::vector<std::string> &args : {std::vector<std::string>{},
                                                 {"inf"},
                                                 {"help", "frob"},
                                                 {"help", "info", "check"},
                                                 {"--json"}}) {
        const RunResult r = runKelp(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("usage: kelp"), std::string::npos) << r.err;
    }
}

} // namespace
