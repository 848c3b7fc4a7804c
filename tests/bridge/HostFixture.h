// Shared set-up for the host scenarios: a fresh stand-in scene with the
// reader and writer node types registered, a scratch folder, and helpers that
// build meshes and networks through the host's own interface.
#ifndef KELP_TESTS_BRIDGE_HOSTFIXTURE_H
#define KELP_TESTS_BRIDGE_HOSTFIXTURE_H

#include <maya/MFloatArray.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MString.h>

#include "StandIn.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace kelptest {

namespace kt = kelphost::testing;

// A polygon mesh description: points, polygons in Maya's winding, and one
// UV per face-vertex for each UV set.
struct MeshDesc {
    std::vector<std::array<double, 3>> points;
    std::vector<std::vector<int>> polygons;
    // set name -> (u, v) per face-vertex, in polygon order; the first set is
    // the mesh's default set "map1"
    std::vector<std::pair<std::string, std::vector<std::array<float, 2>>>> uvSets;
};

// Seven points, a quad, a triangle and a pentagon with unequal sides, and
// a distinct UV on every face-vertex: any mix-up of winding, point order or
// UV order shows.
MeshDesc asymmetricMesh();

// The UVs of a mesh snapshot per face-vertex, for one UV set.
std::vector<std::array<float, 2>> faceVertexUvs(const kt::MeshSnapshot &mesh,
                                                const std::string &setName);

class HostScene : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates a dependency node of the type and returns its name.
    std::string createNode(const std::string &type, const std::string &name);
    void connect(const std::string &source, const std::string &destination);
    // Creates a mesh shape under a new transform; returns {transform, shape}.
    std::pair<std::string, std::string> createMesh(const MeshDesc &desc);

    // A writer node fed from `shape`'s world mesh, writing to `path`.
    std::string createWriter(const std::string &shape, const std::string &path);
    std::string createReader(const std::string &path);
    // Pulls the writer's output, which writes the file.
    void pullWriter(const std::string &writer);

    std::string file(const std::string &name) const { return m_dir + "/" + name; }
    const std::string &dir() const { return m_dir; }

private:
    std::string m_dir;
};

bool fileExists(const std::string &path);

} // namespace kelptest

#endif
