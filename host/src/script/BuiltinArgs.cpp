#include "BuiltinArgs.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace kelphost {

std::string BuiltinArgs::arg(const std::string &longName, size_t i) const {
    auto it = flags.find(longName);
    if (it == flags.end() || it->second.empty() || i >= it->second[0].size())
        return std::string();
    return it->second[0][i];
}

bool parseBuiltinArgs(const std::vector<ScriptWord> &words, const std::vector<FlagSpec> &specs,
                      BuiltinArgs &out, std::string &error) {
    for (size_t i = 0; i < words.size(); ++i) {
        const ScriptWord &w = words[i];
        if (!isFlagWord(w)) {
            out.positional.push_back(w.text);
            continue;
        }
        const std::string name = w.text.substr(1);
        const FlagSpec *spec = nullptr;
        for (const FlagSpec &s : specs) {
            if (name == s.shortName || name == s.longName) {
                spec = &s;
                break;
            }
        }
        if (!spec) {
            error = "Invalid flag '" + w.text + "'";
            return false;
        }
        std::vector<std::string> args;
        for (int k = 0; k < spec->argCount; ++k) {
            if (i + 1 >= words.size()) {
                error = "Flag '" + w.text + "' needs " + std::to_string(spec->argCount) +
                        " argument" + (spec->argCount == 1 ? "" : "s");
                return false;
            }
            args.push_back(words[++i].text);
        }
        out.flags[spec->longName].push_back(args);
    }
    return true;
}

bool parseScriptDouble(const std::string &text, double &value) {
    if (text.empty())
        return false;
    const char *s = text.c_str();
    char *end = nullptr;
    errno = 0;
    double v = std::strtod(s, &end);
    if (end == s || *end != '\0' || errno == ERANGE || std::isnan(v))
        return false;
    value = v;
    return true;
}

bool parseScriptInt(const std::string &text, int &value) {
    if (text.empty())
        return false;
    const char *s = text.c_str();
    char *end = nullptr;
    errno = 0;
    long v = std::strtol(s, &end, 10);
    if (end == s || *end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX)
        return false;
    value = static_cast<int>(v);
    return true;
}

bool parseScriptBool(const std::string &text, bool &value) {
    if (text == "true" || text == "on" || text == "yes") {
        value = true;
        return true;
    }
    if (text == "false" || text == "off" || text == "no") {
        value = false;
        return true;
    }
    double d = 0;
    if (!parseScriptDouble(text, d))
        return false;
    value = d != 0;
    return true;
}

} // namespace kelphost
