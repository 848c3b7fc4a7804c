// The two node types as the host sees them: attributes (names, short names,
// defaults, flags), what each input affects, and the writer's side effects.
#include "ClassicFile.h"
#include "HostFixture.h"

#include "nodes/KelpReaderNode.h"
#include "nodes/KelpWriterNode.h"

#include <maya/MFnAttribute.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnEnumAttribute.h>

#include <filesystem>

namespace kelptest {

// Runs the node's compute for `plug` with the node's own data block and
// returns its status (ComputeProbe.cpp).
MStatus computeFor(const std::string &plugPath);

namespace {

struct AttrDesc {
    const char *longName;
    const char *shortName;
    bool keyable;
    bool storable;
};

void expectAttributes(const std::string &node, const std::vector<AttrDesc> &descs) {
    MFnDependencyNode fn(kt::node(node));
    for (const AttrDesc &desc : descs) {
        MStatus status;
        MObject attr = fn.attribute(MString(desc.longName), &status);
        ASSERT_TRUE(status) << desc.longName;
        MFnAttribute fa(attr);
        EXPECT_STREQ(fa.name().asChar(), desc.longName);
        EXPECT_STREQ(fa.shortName().asChar(), desc.shortName);
        EXPECT_EQ(fa.isKeyable(), desc.keyable) << desc.longName;
        EXPECT_EQ(fa.isStorable(), desc.storable) << desc.longName;
        EXPECT_TRUE(fn.attribute(MString(desc.shortName)) == attr) << desc.shortName;
    }
}

void expectVerbosityFields(const std::string &node, const char *confirmName) {
    MFnDependencyNode fn(kt::node(node));
    MFnEnumAttribute fe(fn.attribute("verbosity"));
    const char *const names[] = {"None", confirmName, "GeoDetails", "BgeoDetails"};
    for (short i = 0; i < 4; ++i)
        EXPECT_STREQ(fe.fieldName(i).asChar(), names[i]);
    short def = -1;
    EXPECT_TRUE(fe.getDefault(def));
    EXPECT_EQ(def, 1);
}

// Pulls `output` clean, changes `input`, and tells whether `output` went dirty.
bool affects(const std::string &input, const std::string &output,
             void (*change)(const std::string &)) {
    kt::mesh(output);
    kt::particles(output);
    if (kt::isDirty(output))
        return false; // pulling must leave it clean, or the check proves nothing
    change(input);
    return kt::isDirty(output);
}

void toggle(const std::string &plug) {
    kt::setBool(plug, !kt::getBool(plug));
}
void bump(const std::string &plug) {
    kt::setDouble(plug, kt::getDouble(plug) + 1.0);
}
void bumpEnum(const std::string &plug) {
    kt::setInt(plug, (kt::getInt(plug) + 1) % 4);
}
void repath(const std::string &plug) {
    kt::setString(plug, kt::getString(plug) + "x");
}

using Nodes = HostScene;

TEST_F(Nodes, ReaderAttributes) {
    const std::string reader = createNode("KelpReaderNode", "reader");
    EXPECT_EQ(kt::typeOf(reader), "KelpReaderNode");
    expectAttributes(reader, {{"bgeoPath", "bp", false, true},
                              {"verbosity", "vb", false, true},
                              {"frame", "fr", true, true},
                              {"invertNormals", "invn", true, true},
                              {"outMesh", "om", false, false},
                              {"outParticles", "outParts", false, true}});
    expectVerbosityFields(reader, "readConfirm");
    EXPECT_EQ(kt::getString(reader + ".bgeoPath"), "/home/Kelp/bgeos/KelpRead.#.bgeo");
    EXPECT_EQ(kt::getInt(reader + ".verbosity"), 1);
    EXPECT_EQ(kt::getDouble(reader + ".frame"), 6.0);
    EXPECT_TRUE(kt::getBool(reader + ".invertNormals"));
    EXPECT_EQ(KelpReaderNode::id.id(), 0x666u);
}

TEST_F(Nodes, WriterAttributes) {
    const std::string writer = createNode("KelpWriterNode", "writer");
    EXPECT_EQ(kt::typeOf(writer), "KelpWriterNode");
    expectAttributes(writer, {{"bgeoPath", "bp", false, true},
                              {"outMesh", "om", false, false},
                              {"frame", "fr", true, true},
                              {"write", "wr", true, true},
                              {"pointsOnly", "po", true, true},
                              {"invertNormals", "invn", true, true},
                              {"exportAllUvMaps", "eaum", true, true},
                              {"verbosity", "vb", false, true},
                              {"inMesh", "im", false, false}});
    expectVerbosityFields(writer, "writeConfirm");
    EXPECT_EQ(kt::getString(writer + ".bgeoPath"), "/home/Kelp/bgeos/KelpWritten.#.bgeo");
    EXPECT_EQ(kt::getDouble(writer + ".frame"), 10.0);
    EXPECT_FALSE(kt::getBool(writer + ".write"));
    EXPECT_FALSE(kt::getBool(writer + ".pointsOnly"));
    EXPECT_TRUE(kt::getBool(writer + ".invertNormals"));
    EXPECT_FALSE(kt::getBool(writer + ".exportAllUvMaps"));
    EXPECT_EQ(kt::getInt(writer + ".verbosity"), 1);
    EXPECT_EQ(KelpWriterNode::id.id(), 0x667u);
}

TEST_F(Nodes, ReaderInputsAffectBothOutputs) {
    ClassicFile particles;
    particles.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    particles.polygons = {{0, 1, 2}};
    ASSERT_TRUE(particles.write(file("tri.bgeo")));
    const std::string reader = createReader(file("tri.bgeo"));
    for (const char *output : {".outMesh", ".outParticles"}) {
        EXPECT_TRUE(affects(reader + ".frame", reader + output, bump)) << output;
        EXPECT_TRUE(affects(reader + ".verbosity", reader + output, bumpEnum)) << output;
        EXPECT_TRUE(affects(reader + ".invertNormals", reader + output, toggle)) << output;
        kt::setInt(reader + ".verbosity", 0);
        EXPECT_TRUE(affects(reader + ".bgeoPath", reader + output, repath)) << output;
        kt::setString(reader + ".bgeoPath", file("tri.bgeo"));
    }
}

TEST_F(Nodes, WriterInputsAffectOutput) {
    const std::string writer = createNode("KelpWriterNode", "writer");
    const std::string out = writer + ".outMesh";
    EXPECT_TRUE(affects(writer + ".bgeoPath", out, repath));
    EXPECT_TRUE(affects(writer + ".frame", out, bump));
    EXPECT_TRUE(affects(writer + ".verbosity", out, bumpEnum));
    for (const char *flag : {".write", ".pointsOnly", ".invertNormals", ".exportAllUvMaps"})
        EXPECT_TRUE(affects(writer + flag, out, toggle)) << flag;
    kt::setBool(writer + ".write", false);
}

TEST_F(Nodes, ComputeOnForeignPlugIsUnknownParameter) {
    const std::string reader = createReader(file("none.bgeo"));
    const std::string writer = createNode("KelpWriterNode", "writer");
    kt::setString(writer + ".bgeoPath", file("never.bgeo"));
    kt::setBool(writer + ".write", true);
    for (const std::string &plug : {reader + ".frame", reader + ".bgeoPath", writer + ".inMesh",
                                    writer + ".frame", writer + ".write"}) {
        EXPECT_EQ(computeFor(plug).statusCode(), MStatus::kUnknownParameter) << plug;
    }
    EXPECT_FALSE(fileExists(file("never.bgeo")));
    EXPECT_TRUE(kt::infos().empty());
    EXPECT_EQ(computeFor(writer + ".outMesh").statusCode(), MStatus::kSuccess);
    EXPECT_TRUE(fileExists(file("never.bgeo")));
}

TEST_F(Nodes, WriterWithWriteOffWritesNothing) {
    const std::pair<std::string, std::string> mesh = createMesh(asymmetricMesh());
    const std::string path = file("off.bgeo");
    const std::string writer = createWriter(mesh.second, path);
    ASSERT_TRUE(kt::setBool(writer + ".write", false));
    ASSERT_TRUE(kt::setInt(writer + ".verbosity", 3));
    const int before = kt::computeCount(writer);
    pullWriter(writer);
    EXPECT_GT(kt::computeCount(writer), before);
    EXPECT_FALSE(kt::isDirty(writer + ".outMesh"));
    EXPECT_FALSE(fileExists(path));
    EXPECT_TRUE(std::filesystem::is_empty(dir()));
    EXPECT_TRUE(kt::messages().empty());
}

TEST_F(Nodes, WriterFollowsTheTime) {
    const std::pair<std::string, std::string> mesh = createMesh(asymmetricMesh());
    const std::string writer = createWriter(mesh.second, file("fluid_$F4.bgeo"));
    connect("time1.outTime", writer + ".frame");
    for (int frame = 1; frame <= 3; ++frame) {
        ASSERT_TRUE(kt::setTime(frame));
        pullWriter(writer);
    }
    EXPECT_TRUE(fileExists(file("fluid_0001.bgeo")));
    EXPECT_TRUE(fileExists(file("fluid_0002.bgeo")));
    EXPECT_TRUE(fileExists(file("fluid_0003.bgeo")));
    std::size_t count = 0;
    for (const auto &entry : std::filesystem::directory_iterator(dir())) {
        (void)entry;
        ++count;
    }
    EXPECT_EQ(count, 3u);
}

TEST_F(Nodes, ReaderFollowsTheTime) {
    const MeshDesc desc = asymmetricMesh();
    const std::pair<std::string, std::string> mesh = createMesh(desc);
    const std::string writer = createWriter(mesh.second, file("seq.$F2.bgeo"));
    connect("time1.outTime", writer + ".frame");
    kt::setTime(4);
    pullWriter(writer);
    ASSERT_TRUE(fileExists(file("seq.04.bgeo")));

    const std::string reader = createReader(file("seq.$F2.bgeo"));
    connect("time1.outTime", reader + ".frame");
    EXPECT_EQ(kt::mesh(reader + ".outMesh").polygonCounts.size(), desc.polygons.size());
    kt::setTime(5);
    kt::setInt(reader + ".verbosity", 1);
    const kt::MeshSnapshot missing = kt::mesh(reader + ".outMesh");
    EXPECT_TRUE(missing.points.empty());
    EXPECT_EQ(kt::infos(), (std::vector<std::string>{"Error: unable to read bgeo:  (" +
                                                     file("seq.05.bgeo") + ")"}));
}

} // namespace
} // namespace kelptest
