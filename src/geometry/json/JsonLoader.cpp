#include "json/JsonLoader.h"

#include "json/JsonDocument.h"
#include "json/JsonTokens.h"

#include <iostream>

namespace kelp {

namespace {

// Packed pieces may add at most this many points, vertices and polygons
// (together) per byte of the decompressed document: enough for instancing
// as Houdini writes it (a piece takes some 100 bytes and real caches place
// small shared pieces), while a few bytes of instances of a large embedded
// geometry cannot claim gigabytes.
const std::uint64_t kExpansionPerByte = 64;

} // namespace

bool JsonLoader::parse(Kelp &model, const unsigned char *data, std::size_t size, bool trace,
                       std::string &error) {
    TokenReader reader(data, size);
    // The binary form starts with its magic byte; anything else is read as
    // text, which fails on its first byte if it is not JSON either.
    const bool text = size == 0 || data[0] != kTokMagic;
    if (text) {
        reader.startText();
        return parseDocument(model, reader, true, trace, error);
    }
    return parse(model, reader, trace, error);
}

bool JsonLoader::parse(Kelp &model, TokenReader &reader, bool trace, std::string &error) {
    if (!reader.start()) {
        error = reader.error();
        return false;
    }
    return parseDocument(model, reader, false, trace, error);
}

bool JsonLoader::parseDocument(Kelp &model, TokenReader &reader, bool text, bool trace,
                               std::string &error) {
    JsonDocument doc;
    if (!readDocument(reader, doc, trace) || !reader.finish()) {
        error = reader.error();
        return false;
    }
    if (trace)
        std::cerr << "JSON geometry " << (text ? "as text " : "") << doc.fileVersion << ": "
                  << doc.pointCount << " points, " << doc.polygonCount
                  << " polygons kept; read past " << doc.skippedPacked << " packed, "
                  << doc.skippedCurves << " curves, " << doc.skippedOther << " other primitives\n";
    fill(model, doc);
    if (model.loadFor == KelpLoadFor::Particles)
        return placeParticles(model, doc, error);
    ExpansionBudget budget;
    // The stream's size, all of it read by now for a document in memory.
    budget.limit = kExpansionPerByte * static_cast<std::uint64_t>(reader.size());
    return expandPacked(model, doc, budget, nullptr, error);
}

} // namespace kelp
