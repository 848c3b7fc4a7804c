#include "CommandResult.h"

#include <cmath>
#include <cstdio>

namespace kelphost {

void CommandResult::clear() {
    kind = kNone;
    array = false;
    numbers.clear();
    strings.clear();
}

void CommandResult::setInt(int v) {
    clear();
    kind = kInt;
    numbers.push_back(v);
}

void CommandResult::setDouble(double v) {
    clear();
    kind = kDouble;
    numbers.push_back(v);
}

void CommandResult::setString(const std::string &v) {
    clear();
    kind = kString;
    strings.push_back(v);
}

void CommandResult::setStrings(const std::vector<std::string> &v) {
    clear();
    kind = kString;
    array = true;
    strings = v;
}

void CommandResult::setDoubles(const std::vector<double> &v) {
    clear();
    kind = kDouble;
    array = true;
    numbers = v;
}

void CommandResult::setInts(const std::vector<int> &v) {
    clear();
    kind = kInt;
    array = true;
    numbers.assign(v.begin(), v.end());
}

void CommandResult::appendInt(int v) {
    if (kind != kInt)
        clear();
    kind = kInt;
    array = true;
    numbers.push_back(v);
}

void CommandResult::appendDouble(double v) {
    if (kind != kDouble)
        clear();
    kind = kDouble;
    array = true;
    numbers.push_back(v);
}

void CommandResult::appendString(const std::string &v) {
    if (kind != kString)
        clear();
    kind = kString;
    array = true;
    strings.push_back(v);
}

std::string CommandResult::item(size_t i) const {
    if (kind == kString)
        return i < strings.size() ? strings[i] : std::string();
    if (i >= numbers.size())
        return std::string();
    if (kind == kInt)
        return std::to_string(static_cast<long long>(numbers[i]));
    return formatScriptNumber(numbers[i]);
}

std::string CommandResult::text() const {
    std::string out;
    for (size_t i = 0; i < size(); ++i) {
        if (i)
            out += ' ';
        out += item(i);
    }
    return out;
}

std::string formatScriptNumber(double v) {
    if (std::isnan(v))
        return "nan";
    if (std::isinf(v))
        return v < 0 ? "-inf" : "inf";
    char buf[64];
    const double a = std::fabs(v);
    if (a != 0 && (a < 1e-4 || a >= 1e15)) {
        std::snprintf(buf, sizeof buf, "%g", v);
        return buf;
    }
    std::snprintf(buf, sizeof buf, "%.6f", v);
    std::string s = buf;
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    if (s == "-0")
        s = "0";
    return s;
}

} // namespace kelphost
