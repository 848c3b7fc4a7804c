// Array-attributes data: channels made on first use, views that write into
// the data, and the particle shape keeping what it last received.
#include <maya/MFnArrayAttrsData.h>

#include "../../host/src/Scene.h"

#include <StandIn.h>
#include <gtest/gtest.h>

namespace st = kelphost::testing;
namespace sc = kelphost::scene;

namespace {

class ArrayAttrs : public ::testing::Test {
protected:
    void SetUp() override { st::resetHost(); }
    void TearDown() override { st::resetHost(); }
};

MObject particles(int n, double x) {
    MFnArrayAttrsData fn;
    MObject data = fn.create();
    MVectorArray pos = fn.vectorArray("position");
    MDoubleArray life = fn.doubleArray("life");
    for (int i = 0; i < n; ++i) {
        pos.append(MVector(x + i, 0, 0));
        life.append(i * 0.5);
    }
    return data;
}

} // namespace

TEST_F(ArrayAttrs, ViewsWriteIntoTheData) {
    MFnArrayAttrsData fn;
    MObject data = fn.create();
    EXPECT_TRUE(data.hasFn(MFn::kDynArrayAttrsData));
    MFnArrayAttrsData::Type type;
    EXPECT_FALSE(fn.checkArrayExist("position", type));
    MVectorArray pos = fn.vectorArray("position");
    pos.append(MVector(1, 2, 3));
    pos.append(MVector(4, 5, 6));
    EXPECT_TRUE(fn.checkArrayExist("position", type));
    EXPECT_EQ(type, MFnArrayAttrsData::kVectorArray);
    EXPECT_EQ(fn.count(), 2u);

    // Assigning into an existing array copies: later appends stay local.
    MVectorArray copy;
    copy = fn.vectorArray("position");
    copy.append(MVector(7, 8, 9));
    EXPECT_EQ(fn.count(), 2u);
    EXPECT_EQ(fn.getVectorData("position").length(), 2u);

    MDoubleArray life = fn.doubleArray("life");
    life.append(0.5);
    MStringArray names = fn.list();
    ASSERT_EQ(names.length(), 2u);
    EXPECT_STREQ(names[0].asChar(), "position");
    EXPECT_STREQ(names[1].asChar(), "life");

    auto snap = st::channelsOf(data);
    ASSERT_TRUE(snap.valid);
    ASSERT_EQ(snap.vectors["position"].size(), 2u);
    EXPECT_TRUE(snap.vectors["position"][1].isEquivalent(MVector(4, 5, 6)));
    EXPECT_EQ(snap.doubles["life"], std::vector<double>{0.5});

    // A view outlives a clear() safely (it sees retired storage).
    fn.clear();
    pos.append(MVector(0, 0, 0));
    EXPECT_EQ(fn.count(), 0u);
    MFnArrayAttrsData unattached;
    MStatus s;
    unattached.vectorArray("x", &s);
    EXPECT_EQ(s, MS::kFailure);
}

TEST_F(ArrayAttrs, ParticleShapeKeepsWhatItLastReceived) {
    MObject parent;
    MObject shape = sc::createNode("particle", "", MObject::kNullObj, &parent);
    std::string name = sc::nodeName(shape).asChar();
    EXPECT_EQ(st::particleCount(name), 0);
    EXPECT_FALSE(st::particles(name).valid);

    MPlug element = st::plug(name + ".newParticles").elementByLogicalIndex(0);
    ASSERT_FALSE(element.isNull());
    MObject first = particles(3, 10);
    ASSERT_TRUE(element.setValue(first));
    EXPECT_EQ(st::particleCount(name), 3);
    auto snap = st::particles(name);
    ASSERT_TRUE(snap.valid);
    EXPECT_TRUE(snap.vectors["position"][2].isEquivalent(MVector(12, 0, 0)));
    EXPECT_EQ(snap.doubles["life"], (std::vector<double>{0, 0.5, 1.0}));

    // Time moves on, nothing new arrives: the shape keeps the last channels.
    ASSERT_TRUE(sc::connect(st::plug("time1.outTime"), st::plug(name + ".currentTime")));
    st::setTime(5);
    EXPECT_EQ(st::particleCount(name), 3);
    MObject second = particles(2, 0);
    ASSERT_TRUE(element.setValue(second));
    EXPECT_EQ(st::particleCount(name), 2);
}
