// kelp info names the packed kinds the reader never follows: packed disk
// references (whose file is never opened), other packed kinds, and polygon
// soups, in the text and in the JSON form.
#include "ToolRun.h"

using namespace tooltest;

namespace {

// A JSON text document: a triangle, then two packed disk primitives naming a
// file that does not exist, two polygon soups and an Alembic reference.
const char *const kKinds = R"(["pointcount",4,"vertexcount",4,"primitivecount",6,
 "topology",["pointref",["indices",[0,1,2,3]]],
 "attributes",["pointattributes",[[["scope","public","type","numeric","name","P","options",{}],
   ["size",3,"storage","fpreal32","values",["size",3,"storage","fpreal32",
    "tuples",[[0,0,0],[1,0,0],[0,1,0],[1,1,1]]]]]]],
 "primitives",[
  [["type","Polygon_run"],["startvertex",0,"nprimitives",1,"nvertices_rle",[3,1]]],
  [["type","PackedDisk"],["parameters",{"filename":"missing.bgeo"},"vertex",[3]]],
  [["type","PolySoup"],["vertex",[3]]],
  [["type","PackedDisk"],["parameters",{"filename":"missing.bgeo"},"vertex",[3]]],
  [["type","AlembicRef"],["vertex",[3]]],
  [["type","PolySoup"],["vertex",[3]]]]]
)";

TEST(ToolPackedKinds, InfoNamesPackedDiskPrimitivesAndSoups) {
    ScratchDir dir;
    writeFile(dir / "kinds.geo", kKinds);
    const RunResult r = runKelp({"info", "kinds.geo"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("  primitives: 1 polygon, 1 packed primitive, 2 packed disk primitives, "
                         "2 polygon soups\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("  left out by the reader: 1 packed primitive, 2 packed disk "
                         "primitives, 2 polygon soups\n"),
              std::string::npos)
        << r.out;
    // The named file is never looked for.
    EXPECT_EQ(r.err, "");

    const RunResult j = runKelp({"info", "--json", "kinds.geo"}, dir.path());
    EXPECT_EQ(j.status, 0) << j.err;
    const Json doc = parseJson(j.out);
    ASSERT_EQ(doc.items.size(), 1u);
    for (const char *group : {"primitiveKinds", "leftOut"}) {
        const Json &kinds = doc[0][group];
        EXPECT_EQ(kinds["packed"].number, 1) << group;
        EXPECT_EQ(kinds["packedDisk"].number, 2) << group;
        EXPECT_EQ(kinds["polygonSoups"].number, 2) << group;
        EXPECT_EQ(kinds["openCurves"].number, 0) << group;
    }
}

} // namespace
