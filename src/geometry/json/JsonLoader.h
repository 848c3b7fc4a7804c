// Loading Houdini's JSON-based geometry format (Houdini 12 and later): the
// binary JSON stream of .bgeo files, the same inside gzip (.bgeo.gz), and
// the Blosc container of .bgeo.sc files.
#ifndef KELP_GEOMETRY_JSON_JSONLOADER_H
#define KELP_GEOMETRY_JSON_JSONLOADER_H

#include <Kelp>

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelp {

struct JsonDocument;

class JsonLoader {
public:
    // True when the bytes start like a file this loader reads: binary JSON
    // of either byte order, or the Blosc container.
    static bool recognises(const unsigned char *data, std::size_t size);

    // Reads the file held in data into detail: 1 done; 0 failed, with one
    // line on standard error naming the file and what was wrong, and detail
    // unchanged. name is used in messages only.
    static std::int32_t load(Kelp &detail, const unsigned char *data, std::size_t size,
                             const std::string &name);

private:
    static std::int32_t loadBytes(Kelp &detail, const unsigned char *data, std::size_t size,
                                  const std::string &name);
    // Moves what the document holds into the model: "P" and the point
    // attributes, polygons with their point lists taken through the
    // topology, vertex attributes in polygon vertex order, the counts.
    static void fill(Kelp &model, JsonDocument &doc);
};

} // namespace kelp

#endif
