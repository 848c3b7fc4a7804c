// Host value types: the string's own definitions (split, set(double, n),
// numbers appended with +), status texts and perror, array views.
#include <maya/MDoubleArray.h>
#include <maya/MIntArray.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MVector.h>

#include <StandIn.h>
#include <gtest/gtest.h>

namespace st = kelphost::testing;

namespace {

std::vector<std::string> pieces(const char *text, char at) {
    MStringArray parts;
    EXPECT_TRUE(MString(text).split(at, parts));
    std::vector<std::string> out;
    for (unsigned i = 0; i < parts.length(); ++i)
        out.push_back(parts[i].asChar());
    return out;
}

} // namespace

TEST(HostString, SplitKeepsEmptyPieces) {
    EXPECT_EQ(pieces("a..b", '.'), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(pieces(".a.", '.'), (std::vector<std::string>{"", "a", ""}));
    EXPECT_EQ(pieces("abc", '.'), (std::vector<std::string>{"abc"}));
    EXPECT_EQ(pieces("", '.'), (std::vector<std::string>{}));
    EXPECT_EQ(pieces("/home/Kelp/bgeos/KelpRead.$F4.bgeo", '.'),
              (std::vector<std::string>{"/home/Kelp/bgeos/KelpRead", "$F4", "bgeo"}));
}

TEST(HostString, SetWithPrecisionWritesDecimalPlaces) {
    MString s;
    s.set(1.5, 3);
    EXPECT_STREQ(s.asChar(), "1.500");
    s.set(2.0, 2);
    EXPECT_STREQ(s.asChar(), "2.00");
    s.set(12.345, 0);
    EXPECT_STREQ(s.asChar(), "12");
    s.set(-0.125, 2);
    EXPECT_STREQ(s.asChar(), "-0.12"); // printf rounding of the binary value
    s.set(1.25, -4);
    EXPECT_STREQ(s.asChar(), "1");
}

TEST(HostString, NumbersAppendLikePercentG) {
    EXPECT_STREQ((MString("x") + 3.0).asChar(), "x3");
    EXPECT_STREQ((MString("x") + 3).asChar(), "x3");
    EXPECT_STREQ((MString("x") + 'c').asChar(), "x99");
    EXPECT_STREQ((MString("x") + 0.1234567).asChar(), "x0.123457");
    EXPECT_STREQ((MString("x") + 1234567.0).asChar(), "x1.23457e+06");
    EXPECT_STREQ((MString("x") + -2.5f).asChar(), "x-2.5");
    MString s("n=");
    s += 7; // the int overload prints an integer
    s += 0.5;
    EXPECT_STREQ(s.asChar(), "n=70.5");
    MString t;
    t = 6.0;
    EXPECT_STREQ(t.asChar(), "6");
    EXPECT_STREQ(("a" + MString("b")).asChar(), "ab");
}

TEST(HostString, SubstringIndexAndNumbers) {
    MString s("KelpRead.0007.bgeo");
    EXPECT_STREQ(s.substring(0, 3).asChar(), "Kelp");
    EXPECT_STREQ(s.substring(9, 12).asChar(), "0007");
    EXPECT_STREQ(s.substring(14, 100).asChar(), "bgeo");
    EXPECT_STREQ(s.substring(5, 2).asChar(), "");
    EXPECT_EQ(s.index('.'), 8);
    EXPECT_EQ(s.rindex('.'), 13);
    EXPECT_EQ(s.indexW('#'), -1);
    EXPECT_TRUE(MString("0007").isInt());
    EXPECT_EQ(MString("0007").asInt(), 7);
    EXPECT_FALSE(MString("7a").isInt());
    EXPECT_FALSE(MString("").isInt());
    EXPECT_TRUE(MString(" -12 ").isInt());
    EXPECT_TRUE(MString("1e3").isDouble());
    EXPECT_EQ(MString("abc").length(), 3u);
    EXPECT_TRUE(MString("a") == "a");
    EXPECT_TRUE(MString("a") != MString("b"));
}

TEST(HostStatus, CodesTextsAndPerror) {
    MStatus ok;
    EXPECT_TRUE(ok);
    EXPECT_FALSE(ok.error());
    MStatus failed(MStatus::kFailure);
    EXPECT_FALSE(failed);
    EXPECT_TRUE(failed.error());
    EXPECT_EQ(failed, MS::kFailure);
    EXPECT_EQ(MS::kFailure, failed);
    EXPECT_STREQ(failed.errorString().asChar(), "(kFailure): Unexpected Internal Failure");
    EXPECT_STREQ(MStatus(MStatus::kUnknownParameter).errorString().asChar(),
                 "(kUnknownParameter): Unknown Parameter");
    EXPECT_EQ(static_cast<int>(MStatus::kUnknownParameter), 5);
    EXPECT_EQ(static_cast<int>(MStatus::kInvalidParameter), 3);

    st::resetHost();
    st::captureMessages();
    failed.perror("unable to assignUv's");
    MStatus(MStatus::kInvalidParameter).perror("");
    st::stopCapturing();
    ASSERT_EQ(st::perrors().size(), 2u);
    EXPECT_EQ(st::perrors()[0], "unable to assignUv's: (kFailure): Unexpected Internal Failure");
    EXPECT_EQ(st::perrors()[1], ": (kInvalidParameter): Invalid Parameter");
}

TEST(HostArrays, CopiesOwnTheirData) {
    MIntArray a(3, 7);
    MIntArray b(a);
    b[0] = 1;
    EXPECT_EQ(a[0], 7);
    MIntArray c;
    c = b;
    c.append(9);
    EXPECT_EQ(b.length(), 3u);
    EXPECT_EQ(c.length(), 4u);
    EXPECT_FALSE(c.remove(10));
    EXPECT_TRUE(c.remove(0));
    EXPECT_EQ(c[0], 7);
    MDoubleArray d(2);
    EXPECT_EQ(d[1], 0.0);
    MStringArray s(2, MString("z"));
    EXPECT_STREQ(s[1].asChar(), "z");
}

TEST(HostMath, PointsVectorsMatrices) {
    MVector x(1, 0, 0), y(0, 1, 0);
    EXPECT_TRUE((x ^ y).isEquivalent(MVector(0, 0, 1)));
    EXPECT_DOUBLE_EQ(x * y, 0.0);
    EXPECT_DOUBLE_EQ(MVector(3, 4, 0).length(), 5.0);
    MPoint p(1, 2, 3);
    EXPECT_EQ(p.w, 1.0);
    double t[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {10, 20, 30, 1}};
    MMatrix m(t);
    EXPECT_TRUE((p * m).isEquivalent(MPoint(11, 22, 33)));
    EXPECT_TRUE((p * m * m.inverse()).isEquivalent(p));
}
