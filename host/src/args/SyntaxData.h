// What an MSyntax holds.
#pragma once

#include <maya/MSyntax.h>

#include <string>
#include <vector>

namespace kelphost {

struct SyntaxFlag {
    std::string shortName; // without '-'
    std::string longName;  // without '-'
    std::vector<MSyntax::MArgType> args;
    bool multiUse = false;
    bool queryWithFullArgs = false;
};

struct SyntaxData {
    std::vector<SyntaxFlag> flags;
    std::vector<MSyntax::MArgType> commandArgs;
    MSyntax::MObjectFormat objectFormat = MSyntax::kNone;
    unsigned int minObjects = 0;
    unsigned int maxObjects = ~0u;
    bool useSelection = false;
    bool canQuery = false;
    bool canEdit = false;

    // The flag named by its short or long name, with or without one '-'.
    const SyntaxFlag *find(const std::string &name) const;
};

} // namespace kelphost
