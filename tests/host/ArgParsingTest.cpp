// Command argument parsing: MSyntax, MArgList, MArgParser, MArgDatabase.
#include "StandIn.h"

#include <maya/MArgDatabase.h>
#include <maya/MArgList.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>
#include <maya/MSyntax.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

MArgList words(std::initializer_list<const char *> list) {
    MArgList args;
    for (const char *w : list)
        args.addArg(MString(w));
    return args;
}

MSyntax readerLikeSyntax() {
    MSyntax s;
    EXPECT_TRUE(s.addFlag("-n", "-name", MSyntax::kString));
    EXPECT_TRUE(s.addFlag("-op", "-outputParticle", MSyntax::kLong));
    EXPECT_TRUE(s.addFlag("-v", "-value", MSyntax::kDouble, MSyntax::kDouble));
    EXPECT_TRUE(s.addFlag("-b", "-bool", MSyntax::kBoolean));
    s.enableQuery(false);
    s.enableEdit(false);
    return s;
}

class ArgParsing : public ::testing::Test {
protected:
    void SetUp() override {
        kelphost::testing::resetHost();
        kelphost::testing::captureMessages();
    }
};

TEST_F(ArgParsing, FlagsAreFoundByShortOrLongNameWithOrWithoutDash) {
    MStatus st;
    MArgDatabase db(readerLikeSyntax(), words({"-name", "fluid", "-op", "1"}), &st);
    ASSERT_TRUE(st);
    for (const char *f : {"n", "-n", "name", "-name"})
        EXPECT_TRUE(db.isFlagSet(f)) << f;
    for (const char *f : {"op", "-op", "outputParticle", "-outputParticle"})
        EXPECT_TRUE(db.isFlagSet(f)) << f;
    EXPECT_FALSE(db.isFlagSet("-v"));
    MString name;
    ASSERT_TRUE(db.getFlagArgument("n", 0, name));
    EXPECT_STREQ(name.asChar(), "fluid");
    int op = 0;
    ASSERT_TRUE(db.getFlagArgument("-outputParticle", 0, op));
    EXPECT_EQ(op, 1);
    EXPECT_EQ(db.numberOfFlagsUsed(), 2u);
    EXPECT_TRUE(kelphost::testing::errors().empty());
}

TEST_F(ArgParsing, TypedArgumentsConvert) {
    MStatus st;
    MArgDatabase db(readerLikeSyntax(), words({"-v", "1.5", "-2", "-b", "on"}), &st);
    ASSERT_TRUE(st);
    double a = 0, b = 0;
    ASSERT_TRUE(db.getFlagArgument("v", 0, a));
    ASSERT_TRUE(db.getFlagArgument("v", 1, b));
    EXPECT_DOUBLE_EQ(a, 1.5);
    EXPECT_DOUBLE_EQ(b, -2.0); // a negative number is an argument, not a flag
    EXPECT_TRUE(db.flagArgumentBool("b", 0));
    // Asking for an argument the flag does not have, or a flag it does not know.
    EXPECT_EQ(db.getFlagArgument("v", 2, a).statusCode(), MStatus::kInvalidParameter);
    EXPECT_FALSE(db.getFlagArgument("-nope", 0, a));
    // A flag that was not given.
    MString s;
    EXPECT_FALSE(db.getFlagArgument("n", 0, s));
}

TEST_F(ArgParsing, UnknownFlagFailsWithAnErrorAndNothingSet) {
    MStatus st;
    MArgDatabase db(readerLikeSyntax(), words({"-n", "x", "-bogus"}), &st);
    EXPECT_EQ(st.statusCode(), MStatus::kFailure);
    EXPECT_FALSE(db.isFlagSet("n"));
    ASSERT_EQ(kelphost::testing::errors().size(), 1u);
    EXPECT_NE(kelphost::testing::errors()[0].find("-bogus"), std::string::npos);
}

TEST_F(ArgParsing, BadArgumentsFail) {
    struct Case {
        std::initializer_list<const char *> words;
        const char *why;
    };
    const Case cases[] = {
        {{"-op", "one"}, "integer flag given text"},
        {{"-op", "1.5"}, "integer flag given a fraction"},
        {{"-v", "1"}, "two-argument flag given one"},
        {{"-n"}, "string flag without its argument"},
        {{"-b", "maybe"}, "boolean flag given text"},
        {{"-n", "a", "-n", "b"}, "single-use flag given twice"},
        {{"stray"}, "an argument the syntax has no place for"},
        {{"-q"}, "query flag while queries are disabled"},
    };
    for (const Case &c : cases) {
        kelphost::testing::clearMessages();
        MArgList args;
        for (const char *w : c.words)
            args.addArg(MString(w));
        MStatus st;
        MArgDatabase db(readerLikeSyntax(), args, &st);
        EXPECT_FALSE(st) << c.why;
        EXPECT_EQ(kelphost::testing::errors().size(), 1u) << c.why;
    }
}

TEST_F(ArgParsing, SyntaxRefusesMalformedFlags) {
    MSyntax s;
    EXPECT_TRUE(s.addFlag("-f", "-file", MSyntax::kString));
    EXPECT_FALSE(s.addFlag("-f", "-force"));     // short name taken
    EXPECT_FALSE(s.addFlag("-fo", "-file"));     // long name taken
    EXPECT_FALSE(s.addFlag("-long", "-longer")); // short name of four characters
    EXPECT_FALSE(s.addFlag("-x", "-xyz"));       // long name of three characters
    EXPECT_FALSE(s.addFlag("-y", "-yarn", MSyntax::kNoArg, MSyntax::kString)); // gap
}

TEST_F(ArgParsing, QueryEditMultiUseAndObjects) {
    MSyntax s;
    s.addFlag("-t", "-type", MSyntax::kString);
    s.makeFlagMultiUse("-t");
    s.enableQuery(true);
    s.setObjectType(MSyntax::kStringObjects, 1, 2);
    MStatus st;
    MArgDatabase db(s, words({"-q", "-t", "mesh", "-type", "transform", "a", "b"}), &st);
    // In query mode flags take no argument: "mesh" and "transform" become objects.
    ASSERT_FALSE(st); // four objects: more than two
    kelphost::testing::clearMessages();
    MArgDatabase db2(s, words({"-t", "mesh", "-type", "transform", "a"}), &st);
    ASSERT_TRUE(st);
    EXPECT_FALSE(db2.isQuery());
    EXPECT_EQ(db2.numberOfFlagUses("type"), 2u);
    MArgList second;
    ASSERT_TRUE(db2.getFlagArgumentList("t", 1, second));
    EXPECT_STREQ(second.asString(0).asChar(), "transform");
    MStringArray objects;
    db2.getObjects(objects);
    ASSERT_EQ(objects.length(), 1u);
    EXPECT_STREQ(objects[0].asChar(), "a");
    MArgDatabase none(s, words({}), &st);
    EXPECT_FALSE(st); // at least one object
}

TEST_F(ArgParsing, CommandArgumentsAreTyped) {
    MSyntax s;
    s.addArg(MSyntax::kLong);
    s.addArg(MSyntax::kString);
    EXPECT_FALSE(s.setObjectType(MSyntax::kStringObjects)); // not with command arguments
    MStatus st;
    MArgDatabase db(s, words({"3", "three"}), &st);
    ASSERT_TRUE(st);
    int n = 0;
    ASSERT_TRUE(db.getCommandArgument(0, n));
    EXPECT_EQ(n, 3);
    EXPECT_STREQ(db.commandArgumentString(1).asChar(), "three");
    MArgDatabase bad(s, words({"three", "3"}), &st);
    EXPECT_FALSE(st);
    MArgDatabase few(s, words({"3"}), &st);
    EXPECT_FALSE(st);
}

TEST_F(ArgParsing, ArgListConversionsAndFlagIndex) {
    MArgList a = words({"-w", "2.5", "7", "yes", "text"});
    a.addArg(MVector(1, 2, 3));
    EXPECT_EQ(a.length(), 8u);
    EXPECT_EQ(a.flagIndex("w", "width"), 0u);
    EXPECT_EQ(a.flagIndex("-width", "-w"), 0u);
    EXPECT_EQ(a.flagIndex("h"), MArgList::kInvalidArgIndex);
    EXPECT_DOUBLE_EQ(a.asDouble(1), 2.5);
    EXPECT_EQ(a.asInt(2), 7);
    EXPECT_TRUE(a.asBool(3));
    MStatus st;
    a.asInt(4, &st);
    EXPECT_EQ(st.statusCode(), MStatus::kInvalidParameter);
    a.asString(99, &st);
    EXPECT_FALSE(st);
    unsigned int i = 5;
    MVector v = a.asVector(i);
    EXPECT_EQ(i, 8u);
    EXPECT_DOUBLE_EQ(v.z, 3.0);
}

TEST_F(ArgParsing, SelectionListArguments) {
    ASSERT_TRUE(kelphost::testing::exists("time1"));
    MSyntax s;
    s.addFlag("-o", "-object", MSyntax::kString);
    s.setObjectType(MSyntax::kSelectionList);
    MStatus st;
    MArgDatabase db(s, words({"-o", "time1", "initialShadingGroup"}), &st);
    ASSERT_TRUE(st);
    MSelectionList flagList, objects;
    ASSERT_TRUE(db.getFlagArgument("o", 0, flagList));
    EXPECT_EQ(flagList.length(), 1u);
    ASSERT_TRUE(db.getObjects(objects));
    MStringArray names;
    objects.getSelectionStrings(names);
    ASSERT_EQ(names.length(), 1u);
    EXPECT_STREQ(names[0].asChar(), "initialShadingGroup");
    MArgDatabase missing(s, words({"noSuchNode"}), &st);
    ASSERT_TRUE(st); // parsing checks no names...
    MSelectionList none;
    EXPECT_FALSE(missing.getObjects(none)); // ...turning them into objects does
}

} // namespace
