// kelp-info: loads each geometry file given (or every file of the folders
// given) and prints what it holds: the result, the header counts, the point
// and vertex attributes with their kind and size and a few values, and the
// polygons.
#include <Kelp>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

const std::size_t kSamples = 3;

const char *typeName(std::int32_t type) {
    switch (type) {
    case 0:
        return "float";
    case 1:
        return "int";
    case 4:
        return "index";
    case 5:
        return "vector";
    default:
        return "other";
    }
}

void printValues(const AttributeData &a) {
    std::size_t n =
        std::max(a.float_data.size(), std::max(a.int_data.size(), a.vector_data.size()));
    std::cout << "      " << n << " values:";
    for (std::size_t e = 0; e < n && e < kSamples; ++e) {
        if (!a.vector_data.empty())
            std::cout << " (" << a.vector_data[e].x << ' ' << a.vector_data[e].y << ' '
                      << a.vector_data[e].z << ')';
        else if (!a.float_data.empty())
            std::cout << ' ' << a.float_data[e];
        else
            std::cout << ' ' << a.int_data[e];
    }
    if (n > kSamples)
        std::cout << " ...";
    std::cout << '\n';
}

void printAttributes(const char *title, const std::vector<AttributeData> &attrs) {
    std::cout << "  " << title << " attributes: " << attrs.size() << '\n';
    for (const AttributeData &a : attrs) {
        std::cout << "    \"" << a.name << "\" " << typeName(a.type) << " (type " << a.type
                  << ") size " << a.size << '\n';
        printValues(a);
    }
}

int show(const std::string &path) {
    Kelp detail;
    std::int32_t result = detail.loadBgeo(path);
    std::cout << path << ": " << (result ? "loaded" : "FAILED") << " (result " << result << ")\n";
    if (!result)
        return 1;
    std::cout << "  points " << detail.getNumPoints() << ", primitives " << detail.getNumPrims()
              << ", point groups " << detail.getNumPointGroups() << ", primitive groups "
              << detail.getNumPrimGroups() << ", primitive attributes " << detail.getNumPrimAttrs()
              << ", detail attributes " << detail.getNumAttrs() << '\n';
    printAttributes("point", detail.getPointAttributes());
    printAttributes("vertex", detail.getVertexAttributes());
    const std::vector<PolygonData> &polys = detail.getPolygons();
    std::cout << "  polygons: " << polys.size() << ", vertices: " << detail.getNumVerts() << '\n';
    for (std::size_t p = 0; p < polys.size() && p < kSamples; ++p) {
        std::cout << "    " << polys[p].numberOfVertices << ":";
        for (std::uint32_t id : polys[p].ids)
            std::cout << ' ' << id;
        std::cout << '\n';
    }
    return 0;
}

bool isDirectory(const std::string &path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

std::vector<std::string> filesIn(const std::string &dir) {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto &entry : std::filesystem::directory_iterator(dir, ec))
        files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::cerr << "usage: kelp-info FILE_OR_FOLDER...\n";
        return 2;
    }
    if (const char *debug = std::getenv("KELP_TRACE"))
        global_doDebug = std::strcmp(debug, "1") == 0 ? 1 : 0;
    int loaded = 0, failed = 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<std::string> paths =
            isDirectory(argv[i]) ? filesIn(argv[i]) : std::vector<std::string>{argv[i]};
        for (const std::string &path : paths) {
            std::cout.flush();
            (show(path) == 0 ? loaded : failed)++;
        }
    }
    std::cout << loaded << " loaded, " << failed << " refused\n";
    return 0;
}
