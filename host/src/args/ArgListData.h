// What an MArgList holds: the words of a command, arrays kept as one entry.
#pragma once

#include <string>
#include <vector>

namespace kelphost {

struct ArgWord {
    std::string text;               // the word (for an array: its items joined by ' ')
    std::vector<std::string> items; // the items of an array argument
    bool isArray = false;
};

struct ArgListData {
    std::vector<ArgWord> words;
};

// Number and flag conversions shared by the argument classes.
bool argToDouble(const std::string &text, double &value);
bool argToInt(const std::string &text, int &value);
bool argToBool(const std::string &text, bool &value);
// A word naming a flag: '-' followed by a letter.
bool argIsFlag(const std::string &text);
// Strips one leading '-'.
std::string flagName(const char *flag);

} // namespace kelphost
