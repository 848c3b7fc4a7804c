#include "HostFixture.h"

#include "nodes/KelpReaderNode.h"
#include "nodes/KelpWriterNode.h"

#include <Kelp>

#include <maya/MDGModifier.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnMesh.h>
#include <maya/MFnPlugin.h>
#include <maya/MObject.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

namespace kelptest {

MeshDesc asymmetricMesh() {
    MeshDesc desc;
    desc.points = {{0.0, 0.0, 0.0},  {2.0, 0.0, 0.25}, {2.5, 1.5, 0.0}, {-0.5, 1.0, 0.125},
                   {3.5, 0.5, -0.5}, {4.0, 2.75, 0.5}, {1.75, 3.0, 1.0}};
    desc.polygons = {{0, 1, 2, 3}, {1, 4, 2}, {2, 4, 5, 6, 3}};
    std::vector<std::array<float, 2>> uvs;
    float u = 0.0625f;
    for (const std::vector<int> &poly : desc.polygons) {
        for (std::size_t v = 0; v < poly.size(); ++v) {
            uvs.push_back({u, 1.0f - 2.0f * u});
            u += 0.0625f;
        }
    }
    desc.uvSets.push_back({"map1", uvs});
    return desc;
}

std::vector<std::array<float, 2>> faceVertexUvs(const kt::MeshSnapshot &mesh,
                                                const std::string &setName) {
    std::vector<std::array<float, 2>> result;
    for (const kt::UVSet &set : mesh.uvSets) {
        if (set.name != setName)
            continue;
        for (int id : set.faceUVIds) {
            if (id < 0 || static_cast<std::size_t>(id) >= set.u.size())
                result.push_back({-1.0f, -1.0f});
            else
                result.push_back({set.u[id], set.v[id]});
        }
    }
    return result;
}

void HostScene::SetUp() {
    global_doDebug = 0;
    kt::resetHost();
    kt::captureMessages();
    MObject pluginObj = kt::pluginObject("kelpBridgeTest");
    MFnPlugin plugin(pluginObj, "Kelp", "1.5", "Any");
    ASSERT_TRUE(plugin.registerNode("KelpReaderNode", KelpReaderNode::id, KelpReaderNode::creator,
                                    KelpReaderNode::initialize));
    ASSERT_TRUE(plugin.registerNode("KelpWriterNode", KelpWriterNode::id, KelpWriterNode::creator,
                                    KelpWriterNode::initialize));

    std::string pattern = (std::filesystem::temp_directory_path() / "kelp_bridge_XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    ASSERT_NE(mkdtemp(buffer.data()), nullptr);
    m_dir = buffer.data();
}

void HostScene::TearDown() {
    kt::stopCapturing();
    std::error_code ignored;
    if (!m_dir.empty())
        std::filesystem::remove_all(m_dir, ignored);
    kt::resetHost();
    global_doDebug = 0;
}

std::string HostScene::createNode(const std::string &type, const std::string &name) {
    MDGModifier mod;
    MStatus status;
    MObject node = mod.createNode(MString(type.c_str()), &status);
    EXPECT_TRUE(status) << "createNode " << type;
    mod.renameNode(node, MString(name.c_str()));
    EXPECT_TRUE(mod.doIt());
    return MFnDependencyNode(node).name().asChar();
}

void HostScene::connect(const std::string &source, const std::string &destination) {
    MDGModifier mod;
    EXPECT_TRUE(mod.connect(kt::plug(source), kt::plug(destination)))
        << source << " -> " << destination;
    EXPECT_TRUE(mod.doIt());
}

std::pair<std::string, std::string> HostScene::createMesh(const MeshDesc &desc) {
    MPointArray points;
    for (const std::array<double, 3> &p : desc.points)
        points.append(MPoint(p[0], p[1], p[2]));
    MIntArray counts;
    MIntArray connects;
    for (const std::vector<int> &poly : desc.polygons) {
        counts.append(static_cast<int>(poly.size()));
        for (int id : poly)
            connects.append(id);
    }
    MFloatArray u;
    MFloatArray v;
    MIntArray uvIds;
    if (!desc.uvSets.empty()) {
        const std::vector<std::array<float, 2>> &uvs = desc.uvSets.front().second;
        for (std::size_t k = 0; k < uvs.size(); ++k) {
            u.append(uvs[k][0]);
            v.append(uvs[k][1]);
            uvIds.append(static_cast<int>(k));
        }
    }
    MFnMesh fn;
    MStatus status;
    MObject transform =
        fn.create(static_cast<int>(points.length()), static_cast<int>(counts.length()), points,
                  counts, connects, u, v, MObject::kNullObj, &status);
    EXPECT_TRUE(status) << "MFnMesh::create";
    if (uvIds.length() != 0) {
        EXPECT_TRUE(fn.assignUVs(counts, uvIds));
    }
    for (std::size_t s = 1; s < desc.uvSets.size(); ++s) {
        const MString name(desc.uvSets[s].first.c_str());
        MString given = fn.createUVSetWithName(name);
        MFloatArray su;
        MFloatArray sv;
        MIntArray ids;
        const std::vector<std::array<float, 2>> &uvs = desc.uvSets[s].second;
        for (std::size_t k = 0; k < uvs.size(); ++k) {
            su.append(uvs[k][0]);
            sv.append(uvs[k][1]);
            ids.append(static_cast<int>(k));
        }
        EXPECT_TRUE(fn.setUVs(su, sv, &given));
        EXPECT_TRUE(fn.assignUVs(counts, ids, &given));
    }
    return {MFnDependencyNode(transform).name().asChar(), fn.name().asChar()};
}

std::string HostScene::createWriter(const std::string &shape, const std::string &path) {
    const std::string writer = createNode("KelpWriterNode", "writer");
    connect(shape + ".worldMesh[0]", writer + ".inMesh");
    EXPECT_TRUE(kt::setString(writer + ".bgeoPath", path));
    EXPECT_TRUE(kt::setBool(writer + ".write", true));
    EXPECT_TRUE(kt::setInt(writer + ".verbosity", 0));
    return writer;
}

std::string HostScene::createReader(const std::string &path) {
    const std::string reader = createNode("KelpReaderNode", "reader");
    EXPECT_TRUE(kt::setString(reader + ".bgeoPath", path));
    EXPECT_TRUE(kt::setInt(reader + ".verbosity", 0));
    return reader;
}

void HostScene::pullWriter(const std::string &writer) {
    kt::mesh(writer + ".outMesh");
}

bool fileExists(const std::string &path) {
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

} // namespace kelptest
