// A second reader of the ASCII JSON saves: Python's json module, strict
// (no NaN or Infinity, no repeated key in an object), loads the .geo Kelp
// writes, and the top level is the flat key/value list of a geometry
// document with the counts of the detail that was saved.
#include "JsonSaveHelpers.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <sys/wait.h>
#include <unistd.h>

namespace kelptest {
namespace {

// Exit codes of the check: 0 good, 3 not strict JSON, 4 a wrong structure
// (the reason on standard error).
const char *const kCheck = R"PY(
import json, sys
def constant(name):
    sys.stderr.write("not JSON: " + name + "\n"); sys.exit(3)
def pairs(items):
    keys = [k for k, _ in items]
    if len(keys) != len(set(keys)):
        sys.stderr.write("repeated key in an object: %r\n" % keys); sys.exit(4)
    return dict(items)
try:
    doc = json.load(open(sys.argv[1]), parse_constant=constant, object_pairs_hook=pairs)
except ValueError as e:
    sys.stderr.write("not JSON: %s\n" % e); sys.exit(3)
def fail(why):
    sys.stderr.write(why + "\n"); sys.exit(4)
if not isinstance(doc, list) or len(doc) % 2:
    fail("the top level is not a list of key/value pairs")
keys = doc[0::2]
if not all(isinstance(k, str) for k in keys):
    fail("a top-level key is not a string: %r" % keys)
if len(keys) != len(set(keys)):
    fail("a top-level key is repeated: %r" % keys)
top = dict(zip(keys, doc[1::2]))
for k in ("fileversion", "pointcount", "vertexcount", "primitivecount",
          "topology", "attributes", "primitives"):
    if k not in top:
        fail("no " + k)
want = [int(a) for a in sys.argv[2:5]]
got = [top["pointcount"], top["vertexcount"], top["primitivecount"]]
if got != want:
    fail("counts %r, saved %r" % (got, want))
)PY";

bool havePython() {
    return std::system("python3 -c pass >/dev/null 2>&1") == 0;
}

int check(const std::string &path, int points, int vertices, int primitives) {
    const std::string script = "/tmp/kelp-json-check-" + std::to_string(::getpid()) + ".py";
    {
        std::ofstream out(script);
        out << kCheck;
    }
    const std::string command = "python3 '" + script + "' '" + path + "' " +
                                std::to_string(points) + " " + std::to_string(vertices) + " " +
                                std::to_string(primitives);
    const int status = std::system(command.c_str());
    std::remove(script.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(JsonTextPython, SavedMeshIsStrictJsonWithTheDocumentLayout) {
    if (!havePython())
        GTEST_SKIP() << "no python3";
    // Five points, a quad and a triangle, and values that need care in text:
    // an attribute name with a quote, a backslash and control characters, a
    // NaN and infinities.
    Kelp k;
    k.initialiseNew();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Imath::V3f points[5] = {{0, 0, 0}, {1, 0, 0.5f}, {1, 1, 0}, {0, 1, -0.25f}, {2, 0.5f, 0}};
    for (const Imath::V3f &p : points)
        k.setPointAttrVectorValue("P", p);
    for (int p = 0; p < 5; ++p)
        k.setPointAttrVectorValue("N", Imath::V3f(0, 0, 1));
    for (int p = 0; p < 5; ++p)
        k.setPointAttrVectorValue("odd \"name\"\\\t\x01", p == 1 ? Imath::V3f(nan, inf, -inf)
                                                                 : Imath::V3f(p, 0.1f, 1e-30f));
    for (std::uint32_t id : {0u, 1u, 2u, 3u})
        k.setPolyVertexIdValue(0, id);
    for (std::uint32_t id : {1u, 4u, 2u})
        k.setPolyVertexIdValue(1, id);
    ASSERT_EQ(k.getNumPoints(), 5u);
    ASSERT_EQ(k.getNumPolys(), 2u);

    ScratchDir dir;
    const std::string path = dir / "mesh.geo";
    ASSERT_EQ(k.saveBgeo(path, KelpFormat::Json), 1);
    ASSERT_TRUE(exists(path));
    // Text, not binary JSON.
    const std::vector<unsigned char> bytes = readWhole(path);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes[0], '[');

    EXPECT_EQ(check(path, 5, 7, 2), 0) << std::string(bytes.begin(), bytes.end());
}

// The check itself turns down what it must: a NaN, a repeated key, a count
// that is not the detail's.
TEST(JsonTextPython, CheckRejectsWhatIsNotADocument) {
    if (!havePython())
        GTEST_SKIP() << "no python3";
    ScratchDir dir;
    const std::string good = R"(["fileversion","19.5","pointcount",1,"vertexcount",0,)"
                             R"("primitivecount",0,"topology",[],"attributes",[],"primitives",[]])";
    auto write = [&](const std::string &name, const std::string &text) {
        std::ofstream(dir / name) << text;
        return dir / name;
    };
    EXPECT_EQ(check(write("good.geo", good), 1, 0, 0), 0);
    EXPECT_EQ(check(write("good.geo", good), 2, 0, 0), 4);
    EXPECT_EQ(check(write("nan.geo", R"(["pointcount",NaN])"), 1, 0, 0), 3);
    EXPECT_EQ(check(write("map.geo", R"([{"a":1,"a":2}])"), 1, 0, 0), 4);
    EXPECT_EQ(check(write("odd.geo", R"(["pointcount"])"), 1, 0, 0), 4);
    EXPECT_EQ(check(write("cut.geo", good.substr(0, good.size() - 1)), 1, 0, 0), 3);
}

} // namespace
} // namespace kelptest
