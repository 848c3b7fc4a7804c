// The result of the last command the interpreter ran: what MPxCommand::setResult
// stores and what the host prints as "// Result: ... //".
#pragma once

#include <string>
#include <vector>

namespace kelphost {

struct CommandResult {
    enum Kind { kNone, kInt, kDouble, kString };
    Kind kind = kNone;
    bool array = false;
    std::vector<double> numbers;      // kInt and kDouble
    std::vector<std::string> strings; // kString

    void clear();
    void setInt(int v);
    void setDouble(double v);
    void setString(const std::string &v);
    void setStrings(const std::vector<std::string> &v);
    void setDoubles(const std::vector<double> &v);
    void setInts(const std::vector<int> &v);
    // Appending makes the result an array of the appended kind.
    void appendInt(int v);
    void appendDouble(double v);
    void appendString(const std::string &v);

    bool empty() const { return kind == kNone; }
    size_t size() const { return kind == kString ? strings.size() : numbers.size(); }
    // Item i as text, numbers formatted as the host prints them.
    std::string item(size_t i) const;
    // All items joined by single spaces.
    std::string text() const;
};

// A double as the host prints it: up to six decimals, trailing zeros dropped.
std::string formatScriptNumber(double v);

} // namespace kelphost
