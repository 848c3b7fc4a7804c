#include "json/JsonLoader.h"

#include "json/JsonDocument.h"
#include "json/JsonTokens.h"

#include <iostream>

namespace kelp {

bool JsonLoader::parse(Kelp &model, const unsigned char *data, std::size_t size, bool trace,
                       std::string &error) {
    TokenReader reader(data, size);
    JsonDocument doc;
    if (!reader.start() || !readDocument(reader, doc, trace)) {
        error = reader.error();
        return false;
    }
    if (trace)
        std::cerr << "JSON geometry " << doc.fileVersion << ": " << doc.pointCount << " points, "
                  << doc.polygons.size() << " polygons kept; read past " << doc.skippedPacked
                  << " packed, " << doc.skippedCurves << " curves, " << doc.skippedOther
                  << " other primitives\n";
    fill(model, doc);
    return true;
}

} // namespace kelp
