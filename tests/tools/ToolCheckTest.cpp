// kelp check: one line per file, exit 1 when any failed.
#include "ToolRun.h"

using namespace tooltest;

namespace {

TEST(ToolCheck, OneLinePerFile) {
    ScratchDir dir;
    saveSmall(dir / "good.bgeo");
    saveSmall(dir / "good.bgeo.sc");
    writeFile(dir / "text.bgeo", "hello\n");
    const std::string bytes = readFile(dir / "good.bgeo");
    writeFile(dir / "cut.bgeo", bytes.substr(0, bytes.size() - 7));

    RunResult r = runKelp({"check", "good.bgeo", "good.bgeo.sc"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "good.bgeo: ok (3 points, 5 vertices, 2 primitives)\n"
                     "good.bgeo.sc: ok (3 points, 5 vertices, 2 primitives)\n");
    EXPECT_EQ(r.err, "");

    r = runKelp({"check", "good.bgeo", "text.bgeo", "missing.bgeo", "cut.bgeo"}, dir.path());
    EXPECT_EQ(r.status, 1);
    std::istringstream lines(r.out);
    std::string line;
    std::vector<std::string> all;
    while (std::getline(lines, line))
        all.push_back(line);
    ASSERT_EQ(all.size(), 4u) << r.out;
    EXPECT_EQ(all[0], "good.bgeo: ok (3 points, 5 vertices, 2 primitives)");
    EXPECT_EQ(all[1], "text.bgeo: failed: not a geometry file Kelp reads (it starts with 68 65 "
                      "6C 6C 6F 0A)");
    EXPECT_EQ(all[2], "missing.bgeo: failed: cannot open the file (No such file or directory)");
    EXPECT_EQ(all[3].compare(0, 18, "cut.bgeo: failed: "), 0) << all[3];
    EXPECT_GT(all[3].size(), 18u);
    // The loader's lines are taken into the report, not left on stderr.
    EXPECT_EQ(r.err, "");
}

TEST(ToolCheck, AFolderIsAFailure) {
    ScratchDir dir;
    std::filesystem::create_directory(dir / "sub.bgeo");
    const RunResult r = runKelp({"check", "sub.bgeo"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "sub.bgeo: failed: not a file\n");
}

TEST(ToolCheck, UsageErrorsExitTwo) {
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"check"}, {"check", "--all", "x.bgeo"}}) {
        const RunResult r = runKelp(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("usage: kelp check FILE..."), std::string::npos) << r.err;
    }
    // After "--" a name may start with a dash.
    ScratchDir dir;
    saveSmall(dir / "-dash.bgeo");
    const RunResult r = runKelp({"check", "--", "-dash.bgeo"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.out << r.err;
}

} // namespace
