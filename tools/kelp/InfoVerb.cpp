// kelp info FILE... [--json]: what each file holds and what the reader node
// makes of it.
#include "Cli.h"
#include "Describe.h"
#include "Geometry.h"

#include <cstdio>
#include <iostream>
#include <sstream>

namespace kelptool {

const char *const kInfoUsage = "usage: kelp info [--json] FILE...";
const char *const kInfoHelp =
    "usage: kelp info [--json] FILE...\n"
    "\n"
    "Shows what each geometry file holds: its form as its bytes tell it (classic or\n"
    "JSON, binary or ASCII, plain, gzip or Blosc), the counts of points, vertices\n"
    "and primitives, every point and vertex attribute with its storage, tuple size\n"
    "and first values, the primitive kinds, and what the reader node leaves out of\n"
    "its mesh. Values show the components the loaded detail keeps; string\n"
    "attributes show their string indices (the strings are not kept).\n"
    "\n"
    "  --json   one JSON array with an object per file\n"
    "\n"
    "Exit status: 0 when every file loaded, 1 when any did not, 2 on a usage error.\n";

namespace {

struct Report {
    std::string path;
    FileForm form;
    Outcome load;
    Kelp model;
};

// ---- text ---------------------------------------------------------------

std::string valuesText(const AttributeFacts &a) {
    if (a.first.empty())
        return "no values";
    std::string text = a.storage == "string" ? "first indices" : "first";
    for (const std::vector<double> &element : a.first) {
        text += ' ';
        if (element.size() > 1)
            text += '(';
        for (std::size_t c = 0; c < element.size(); ++c)
            text += (c ? " " : "") + number(element[c], !a.integers);
        if (element.size() > 1)
            text += ')';
    }
    if (a.elements > a.first.size())
        text += " ...";
    if (a.storage == "string")
        text += " (the strings are not kept)";
    return text;
}

// "1 polygon", "2 polygons".
std::string counted(std::uint32_t n, const char *one, const char *many) {
    return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

void addCount(std::string &line, std::uint32_t n, const char *one, const char *many) {
    if (n == 0)
        return;
    line += line.empty() ? "" : ", ";
    line += counted(n, one, many);
}

void printText(const Report &r) {
    std::cout << r.path << '\n';
    std::cout << "  format: " << r.form.words() << '\n';
    if (!r.load.ok) {
        std::cout << "  could not load: " << loadReason(r.load, r.path) << '\n';
        return;
    }
    const Kelp &m = r.model;
    std::cout << "  points " << m.getNumPoints() << ", vertices " << m.getNumVerts()
              << ", primitives " << m.getNumPrims() << '\n';
    for (const AttributeFacts &a : attributeFacts(m)) {
        std::cout << "  " << a.owner << " attribute \"" << a.name << "\": " << a.storage
                  << ", size " << a.size;
        if (!a.first.empty() && a.kept < a.size)
            std::cout << ", " << a.kept << " of " << a.size << " components kept";
        std::cout << ", " << valuesText(a) << '\n';
    }
    std::cout << "  not kept: "
              << counted(m.getNumPrimAttrs(), "primitive attribute", "primitive attributes") << ", "
              << counted(m.getNumAttrs(), "detail attribute", "detail attributes") << ", "
              << counted(m.getNumPointGroups(), "point group", "point groups") << ", "
              << counted(m.getNumPrimGroups(), "primitive group", "primitive groups") << '\n';

    const PrimitiveFacts p = primitiveFacts(m);
    std::string readPast;
    addCount(readPast, p.packed, "packed primitive", "packed primitives");
    addCount(readPast, p.packedDisk, "packed disk primitive", "packed disk primitives");
    addCount(readPast, p.curves, "open curve", "open curves");
    addCount(readPast, p.soups, "polygon soup", "polygon soups");
    addCount(readPast, p.other, "other primitive", "other primitives");
    std::string kinds;
    addCount(kinds, p.polygons, "polygon", "polygons");
    if (p.shortPolygons)
        kinds += " (" + std::to_string(p.shortPolygons) + " of fewer than 3 vertices)";
    if (!readPast.empty())
        kinds += (kinds.empty() ? "" : ", ") + readPast;
    std::cout << "  primitives: " << (kinds.empty() ? "none" : kinds) << '\n';
    std::string leftOut;
    addCount(leftOut, p.shortPolygons, "polygon of fewer than 3 vertices",
             "polygons of fewer than 3 vertices");
    if (!readPast.empty())
        leftOut += (leftOut.empty() ? "" : ", ") + readPast;
    std::cout << "  left out by the reader: " << (leftOut.empty() ? "nothing" : leftOut) << '\n';
}

// ---- JSON ---------------------------------------------------------------

// Length of the well-formed UTF-8 sequence at text[i], or 0.
std::size_t utf8Length(const std::string &text, std::size_t i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
    if (n == 0 || i + n > text.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return 0;
    // No overlong forms, no surrogates, nothing past U+10FFFF.
    const unsigned char d = static_cast<unsigned char>(text[i + 1]);
    if ((c == 0xE0 && d < 0xA0) || (c == 0xED && d >= 0xA0) || (c == 0xF0 && d < 0x90) ||
        (c == 0xF4 && d >= 0x90))
        return 0;
    return n;
}

// A JSON string. Control characters are escaped; a byte that does not start
// a UTF-8 sequence is written as the code point of the same number, so that
// the output is valid JSON whatever bytes a name holds.
std::string quoted(const std::string &text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += text[i];
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else if (c < 0x80) {
            out += text[i];
        } else if (const std::size_t n = utf8Length(text, i)) {
            out.append(text, i, n);
            i += n - 1;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        }
    }
    return out + '"';
}

std::string jsonNumber(double value, bool isFloat) {
    const std::string text = number(value, isFloat);
    return text == "nan" || text == "inf" || text == "-inf" ? "null" : text;
}

std::string jsonOrNull(const std::string &text) {
    return text.empty() ? "null" : quoted(text);
}

void printJson(const Report &r, std::ostream &out) {
    out << "{\"file\":" << quoted(r.path) << ",\"ok\":" << (r.load.ok ? "true" : "false");
    out << ",\"format\":{\"container\":" << jsonOrNull(r.form.container)
        << ",\"family\":" << jsonOrNull(r.form.family)
        << ",\"encoding\":" << jsonOrNull(r.form.encoding)
        << ",\"words\":" << quoted(r.form.words()) << '}';
    if (!r.load.ok) {
        out << ",\"error\":" << quoted(loadReason(r.load, r.path)) << '}';
        return;
    }
    const Kelp &m = r.model;
    out << ",\"points\":" << m.getNumPoints() << ",\"vertices\":" << m.getNumVerts()
        << ",\"primitives\":" << m.getNumPrims() << ",\"attributes\":[";
    bool firstAttr = true;
    for (const AttributeFacts &a : attributeFacts(m)) {
        out << (firstAttr ? "" : ",") << "{\"name\":" << quoted(a.name) << ",\"class\":\""
            << a.owner << "\",\"storage\":" << quoted(a.storage) << ",\"size\":" << a.size
            << ",\"kept\":" << a.kept << ",\"elements\":" << a.elements << ",\"first\":[";
        for (std::size_t e = 0; e < a.first.size(); ++e) {
            out << (e ? ",[" : "[");
            for (std::size_t c = 0; c < a.first[e].size(); ++c)
                out << (c ? "," : "") << jsonNumber(a.first[e][c], !a.integers);
            out << ']';
        }
        out << "]}";
        firstAttr = false;
    }
    out << "],\"notKept\":{\"primitiveAttributes\":" << m.getNumPrimAttrs()
        << ",\"detailAttributes\":" << m.getNumAttrs()
        << ",\"pointGroups\":" << m.getNumPointGroups()
        << ",\"primitiveGroups\":" << m.getNumPrimGroups() << '}';
    const PrimitiveFacts p = primitiveFacts(m);
    out << ",\"primitiveKinds\":{\"polygons\":" << p.polygons
        << ",\"shortPolygons\":" << p.shortPolygons << ",\"packed\":" << p.packed
        << ",\"packedDisk\":" << p.packedDisk << ",\"openCurves\":" << p.curves
        << ",\"polygonSoups\":" << p.soups << ",\"other\":" << p.other << '}';
    out << ",\"leftOut\":{\"shortPolygons\":" << p.shortPolygons << ",\"packed\":" << p.packed
        << ",\"packedDisk\":" << p.packedDisk << ",\"openCurves\":" << p.curves
        << ",\"polygonSoups\":" << p.soups << ",\"otherPrimitives\":" << p.other << "}}";
}

} // namespace

int runInfo(const Args &args) {
    bool json = false;
    Args files;
    bool flags = true;
    for (const std::string &arg : args) {
        if (flags && arg == "--") {
            flags = false;
        } else if (flags && arg == "--json") {
            json = true;
        } else if (flags && arg.size() > 1 && arg[0] == '-') {
            throw UsageError("kelp info: unknown option " + arg, kInfoUsage);
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty())
        throw UsageError("kelp info: no file given", kInfoUsage);

    int status = kExitOk;
    if (json)
        std::cout << '[';
    for (std::size_t i = 0; i < files.size(); ++i) {
        Report r;
        r.path = files[i];
        r.form = sniffFile(r.path);
        r.load = loadGeometry(r.model, r.path);
        if (!r.load.ok)
            status = kExitFailed;
        if (json) {
            std::cout << (i ? ",\n" : "\n");
            printJson(r, std::cout);
        } else {
            printText(r);
        }
        std::cout.flush();
    }
    if (json)
        std::cout << "\n]\n";
    return status;
}

} // namespace kelptool
