// The parser of Houdini's JSON-based geometry format (Houdini 12 and later):
// a binary JSON document, from its magic on, or the same document as JSON
// text, into the model. Containers (gzip, the Blosc container of .bgeo.sc
// files) are unwrapped before it.
#ifndef KELP_GEOMETRY_JSON_JSONLOADER_H
#define KELP_GEOMETRY_JSON_JSONLOADER_H

#include <Kelp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelp {

struct JsonDocument;
class TokenReader;

class JsonLoader {
public:
    // Reads the document held in data into model (which is expected empty):
    // binary when data starts with the magic byte 7F, text otherwise.
    // False when the document is damaged or contradicts itself, with the
    // reason (and the byte it refers to) in error; the model is then partly
    // filled, so callers parse into a scratch model.
    static bool parse(Kelp &model, const unsigned char *data, std::size_t size, bool trace,
                      std::string &error);
    // The binary document at the reader's position, from its magic on, read
    // through the reader's cursor (which may be a window over a stream).
    static bool parse(Kelp &model, TokenReader &reader, bool trace, std::string &error);

    // What the expansion of packed geometry may add over the whole load,
    // nested levels included: points, vertices and polygons together.
    struct ExpansionBudget {
        std::uint64_t limit = 0;
        std::uint64_t used = 0;
    };

private:
    // The document once the reader has started on it; text tells the form.
    static bool parseDocument(Kelp &model, TokenReader &reader, bool text, bool trace,
                              std::string &error);
    // Moves what the document holds into the model: "P" and the point
    // attributes, polygons with their point lists taken through the
    // topology, vertex attributes in polygon vertex order, the primitive
    // colours spread over their polygons' vertices, the counts.
    static void fill(Kelp &model, JsonDocument &doc);
    // The header counts, and what was read past by kind.
    static void moveCounts(Kelp &model, const JsonDocument &doc);
    // The classic polygon run fields of a model that holds polygons.
    static void markPolygons(Kelp &model);
    // Appends the geometry of the document's packed pieces to the model
    // filled from it (JsonPacked.cpp). When polygonPrimitive is given, it
    // receives the primitive number each model polygon came from.
    static bool expandPacked(Kelp &model, JsonDocument &doc, ExpansionBudget &budget,
                             std::vector<std::uint32_t> *polygonPrimitive, std::string &error);
    // For particles instead: each packed piece one point (a copy where two
    // pieces stand on one point), with its packed primitive's colours where
    // the file has no point attribute of the name; nothing is expanded
    // (JsonPacked.cpp).
    static bool placeParticles(Kelp &model, JsonDocument &doc, std::string &error);
};

} // namespace kelp

#endif
