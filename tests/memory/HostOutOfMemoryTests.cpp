// The reader and writer nodes when memory runs out at any size of request:
// the frame comes out whole or empty with its reason, the previous file stays,
// and no exception reaches the host.
#include "CountingAllocator.h"
#include "HostFixture.h"

#include <Kelp>

#include <maya/MObject.h>
#include <maya/MPlug.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace kelptest {
namespace {

using HostMemory = HostScene;

const unsigned kPoints = 200000;

// 200,000 points and a strip of 1,000 triangles over the first of them.
void writeLargeFrame(const std::string &path) {
    Kelp k;
    k.initialiseNew();
    for (unsigned i = 0; i < kPoints; ++i)
        k.setPointAttrVectorValue("P", Imath::V3f(float(i % 500), float(i / 500), 0));
    for (unsigned p = 0; p < 1000; ++p)
        for (unsigned v = 0; v < 3; ++v)
            k.setPolyVertexIdValue(p, p + v);
    testing::internal::CaptureStderr();
    ASSERT_EQ(k.saveBgeo(path), 1);
    testing::internal::GetCapturedStderr();
}

const unsigned long kLimits[] = {4096,     16384,    65536,    262144,   1u << 20,
                                 2u << 20, 4u << 20, 8u << 20, 64u << 20};

bool mentionsMemory(const std::vector<std::string> &lines) {
    for (const std::string &line : lines)
        if (line.find("not enough memory") != std::string::npos)
            return true;
    return false;
}

std::string slurp(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(HostMemory, TheReaderGivesAWholeOrAnEmptyFrameAtEveryLimit) {
    const std::string path = file("large.bgeo");
    writeLargeFrame(path);
    int whole = 0;
    int empty = 0;
    for (unsigned long limit : kLimits) {
        const std::string reader = createReader(path);
        ASSERT_TRUE(kt::setInt(reader + ".verbosity", 1));
        kt::clearMessages();
        MObject data;
        {
            AllocationWatch watch;
            watch.failAbove(limit);
            data = kt::plug(reader + ".outMesh").asMObject();
        }
        const kt::MeshSnapshot mesh = kt::meshOf(data);
        if (mesh.points.size() == kPoints) {
            EXPECT_EQ(mesh.polygonCounts.size(), 1000u) << "limit " << limit;
            ++whole;
        } else {
            EXPECT_TRUE(mesh.points.empty()) << "limit " << limit << ": " << mesh.points.size();
            EXPECT_TRUE(mesh.polygonCounts.empty()) << "limit " << limit;
            EXPECT_TRUE(mentionsMemory(kt::errors())) << "limit " << limit;
            ASSERT_EQ(kt::errors().size(), 1u) << "limit " << limit;
            // Out of memory in the loader or in the bridge after it: the
            // same line, naming the file.
            EXPECT_EQ(kt::errors()[0].rfind("unable to read bgeo:  (" + path + "): ", 0), 0u)
                << kt::errors()[0];
            ++empty;
        }
    }
    EXPECT_GT(whole, 0);
    EXPECT_GT(empty, 0);
}

TEST_F(HostMemory, TheWriterWritesAWholeFileOrKeepsThePreviousOne) {
    MeshDesc desc;
    for (unsigned i = 0; i < kPoints; ++i)
        desc.points.push_back({double(i % 500), double(i / 500), 0.0});
    for (int p = 0; p < 1000; ++p)
        desc.polygons.push_back({p, p + 1, p + 2});
    const std::pair<std::string, std::string> shape = createMesh(desc);
    const std::string path = file("out.bgeo");
    const std::string writer = createWriter(shape.second, path);
    int written = 0;
    int refused = 0;
    for (unsigned long limit : kLimits) {
        std::ofstream(path, std::ios::binary) << "the previous frame";
        kt::clearMessages();
        ASSERT_TRUE(kt::setDouble(writer + ".frame", double(limit % 97)));
        {
            AllocationWatch watch;
            watch.failAbove(limit);
            kt::plug(writer + ".outMesh").asMObject();
        }
        const std::string now = slurp(path);
        if (now == "the previous frame") {
            std::vector<std::string> lines = kt::errors();
            const std::vector<std::string> perrors = kt::perrors();
            lines.insert(lines.end(), perrors.begin(), perrors.end());
            EXPECT_TRUE(mentionsMemory(lines)) << "limit " << limit;
            ++refused;
        } else {
            Kelp k;
            testing::internal::CaptureStderr();
            EXPECT_EQ(k.loadBgeo(path), 1) << "limit " << limit;
            testing::internal::GetCapturedStderr();
            EXPECT_EQ(k.getNumPoints(), kPoints) << "limit " << limit;
            ++written;
        }
    }
    EXPECT_GT(written, 0);
    EXPECT_GT(refused, 0);
}

} // namespace
} // namespace kelptest
