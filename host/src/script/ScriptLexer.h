// Splits a host script into statements and words.
//
// A statement is a command name followed by words, ended by ';'. Words are
// separated by white space; a double-quoted string is one word (with the
// escapes backslash-quote, double backslash, backslash-n, backslash-t), and
// "//" starts a comment that runs to the end of the line. The last statement
// of a script may omit its ';'.
#pragma once

#include <string>
#include <vector>

namespace kelphost {

struct ScriptWord {
    std::string text;
    bool quoted = false; // written as a double-quoted string
};

struct ScriptStatement {
    std::string text; // the statement as written, without its ';'
    int line = 1;     // line on which the statement starts
    std::vector<ScriptWord> words;
};

// Splits `script` into statements. Returns false and sets `error` (with the
// line number) on an unterminated string; `statements` then holds those before it.
bool splitScript(const std::string &script, std::vector<ScriptStatement> &statements,
                 std::string &error);

// True when a word is a flag: unquoted, starting with '-' followed by a letter.
bool isFlagWord(const ScriptWord &word);

// Quotes a text as a script string, escaping what needs it.
std::string quoteScriptString(const std::string &text);

} // namespace kelphost
