// Flag parsing for the interpreter's built-in commands.
#pragma once

#include "ScriptLexer.h"

#include <map>
#include <string>
#include <vector>

namespace kelphost {

struct FlagSpec {
    const char *shortName; // without '-'
    const char *longName;  // without '-'
    int argCount;
};

struct BuiltinArgs {
    // Uses of each flag given, keyed by long name; each use holds its arguments.
    std::map<std::string, std::vector<std::vector<std::string>>> flags;
    std::vector<std::string> positional;

    bool has(const std::string &longName) const { return flags.count(longName) != 0; }
    // Argument i of the first use of a flag ("" when absent).
    std::string arg(const std::string &longName, size_t i = 0) const;
};

// Parses the words after the command name. Flags may appear anywhere; each
// takes its declared number of following words. Unknown flags and missing flag
// arguments fail with `error` set.
bool parseBuiltinArgs(const std::vector<ScriptWord> &words, const std::vector<FlagSpec> &specs,
                      BuiltinArgs &out, std::string &error);

// Strict number conversions of script words.
bool parseScriptDouble(const std::string &text, double &value);
bool parseScriptInt(const std::string &text, int &value);
// "true"/"on"/"yes" or a non-zero number is true; "false"/"off"/"no" or 0 is false.
bool parseScriptBool(const std::string &text, bool &value);

} // namespace kelphost
