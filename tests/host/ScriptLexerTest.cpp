// Splitting scripts into statements and words.
#include "ScriptLexer.h"

#include <gtest/gtest.h>

namespace {

using kelphost::ScriptStatement;

std::vector<ScriptStatement> split(const std::string &text) {
    std::vector<ScriptStatement> out;
    std::string error;
    EXPECT_TRUE(kelphost::splitScript(text, out, error)) << error;
    return out;
}

TEST(ScriptLexer, StatementsEndAtSemicolonsOutsideStrings) {
    auto s = split("polyCube -n \"a;b\";\n  select -r a;b;\n\nlast");
    ASSERT_EQ(s.size(), 4u);
    ASSERT_EQ(s[0].words.size(), 3u);
    EXPECT_EQ(s[0].words[2].text, "a;b");
    EXPECT_TRUE(s[0].words[2].quoted);
    EXPECT_EQ(s[0].text, "polyCube -n \"a;b\"");
    EXPECT_EQ(s[1].text, "select -r a");
    EXPECT_EQ(s[1].line, 2);
    EXPECT_EQ(s[2].text, "b");
    EXPECT_EQ(s[3].words[0].text, "last"); // the last statement may omit ';'
    EXPECT_EQ(s[3].line, 4);
}

TEST(ScriptLexer, EscapesCommentsAndEmptyStatements) {
    auto s = split("print \"say \\\"hi\\\"\\n\\\\\"; // a comment; not a statement\n;; ls;");
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].words[1].text, "say \"hi\"\n\\");
    EXPECT_EQ(s[1].words[0].text, "ls");
    auto empty = split("\"\";");
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(empty[0].words[0].text, "");
    EXPECT_TRUE(empty[0].words[0].quoted);
}

TEST(ScriptLexer, UnterminatedStringIsAnErrorWithItsLine) {
    std::vector<ScriptStatement> out;
    std::string error;
    EXPECT_FALSE(kelphost::splitScript("ls;\nprint \"open;\nmore;", out, error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
}

TEST(ScriptLexer, FlagsAreUnquotedDashLetterWords) {
    auto s = split("setAttr a.tx -5 -type \"-string\" -e;");
    ASSERT_EQ(s.size(), 1u);
    const auto &w = s[0].words;
    EXPECT_FALSE(kelphost::isFlagWord(w[2])); // -5
    EXPECT_TRUE(kelphost::isFlagWord(w[3]));  // -type
    EXPECT_FALSE(kelphost::isFlagWord(w[4])); // "-string"
    EXPECT_TRUE(kelphost::isFlagWord(w[5]));
    EXPECT_EQ(kelphost::quoteScriptString("a\"b\\c"), "\"a\\\"b\\\\c\"");
}

} // namespace
