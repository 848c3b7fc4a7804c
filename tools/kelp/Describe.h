// What kelp info reports: the form of a file, decided by its bytes, and the
// facts of the detail it loads into, in words.
#ifndef KELP_TOOLS_DESCRIBE_H
#define KELP_TOOLS_DESCRIBE_H

#include <Kelp>

#include <cstdint>
#include <string>
#include <vector>

namespace kelptool {

// The form of a file. container is "plain", "gzip" or "Blosc"; family
// "classic" or "JSON" with encoding "binary" or "ASCII"; for anything else
// family is empty and note says what the bytes are.
struct FileForm {
    bool readable = false; // the bytes could be read at all
    std::string container;
    std::string family;
    std::string encoding;
    std::string note; // "empty", "not a geometry file (starts with ...)", ...

    // "classic binary, plain", "JSON binary, Blosc", or the note.
    std::string words() const;
};

FileForm sniffFile(const std::string &path);

// One point or vertex attribute as the detail holds it.
struct AttributeFacts {
    std::string name;
    const char *owner = "point"; // "point" or "vertex"
    std::string storage;         // "float", "int", "vector", "string", "type N"
    int size = 0;                // tuple size in the file
    int kept = 0;                // components the detail keeps of each element
    std::size_t elements = 0;
    bool integers = false; // values are integers (int and string attributes)
    // The first elements' kept components (string attributes: the string
    // indices; the strings themselves are not kept).
    std::vector<std::vector<double>> first;
};

// Primitive kinds and what the reader node leaves out of its mesh.
struct PrimitiveFacts {
    std::uint32_t total = 0;
    std::uint32_t polygons = 0;
    std::uint32_t shortPolygons = 0; // polygons of fewer than 3 vertices
    // What the loader read past, by kind.
    std::uint32_t packed = 0;     // packed primitives not embedded, Alembic references
    std::uint32_t packedDisk = 0; // packed primitives naming another file
    std::uint32_t curves = 0;     // open polygons and curves
    std::uint32_t soups = 0;      // polygon soups
    std::uint32_t other = 0;      // particle systems, spheres, volumes, ...
};

const std::size_t kFirstElements = 3;

std::vector<AttributeFacts> attributeFacts(const Kelp &model);
PrimitiveFacts primitiveFacts(const Kelp &model);

// A value as text: the shortest form that reads back to the same float;
// "nan", "inf", "-inf" for the values JSON has no number for.
std::string number(double value, bool isFloat);

} // namespace kelptool

#endif
