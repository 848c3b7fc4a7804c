#include "json/JsonLoader.h"

#include "io/BloscContainer.h"
#include "json/JsonDocument.h"
#include "json/JsonTokens.h"

#include "io/FileFormat.h"
#include "io/Inflate.h"

#include <cstring>
#include <iostream>
#include <new>
#include <utility>

namespace kelp {

namespace {

bool startsWith(const unsigned char *data, std::size_t size, const char *magic, std::size_t n) {
    return size >= n && std::memcmp(data, magic, n) == 0;
}

bool isBinaryJson(const unsigned char *data, std::size_t size) {
    return startsWith(data, size, "\x7FNSJb", 5) || startsWith(data, size,
                                                               "\x7F"
                                                               "bJSN",
                                                               5);
}

std::int32_t failLine(const std::string &name, const std::string &reason) {
    if (global_doDebug == 1)
        std::cerr << '\n';
    std::cerr << "could not load " << name << ": " << reason << '\n';
    return 0;
}

} // namespace

bool JsonLoader::recognises(const unsigned char *data, std::size_t size) {
    return isBinaryJson(data, size) || isBloscContainer(data, size);
}

std::int32_t JsonLoader::load(Kelp &detail, const unsigned char *data, std::size_t size,
                              const std::string &name) {
    try {
        return loadBytes(detail, data, size, name);
    } catch (const std::bad_alloc &) {
        return failLine(name, "not enough memory");
    }
}

std::int32_t JsonLoader::loadBytes(Kelp &detail, const unsigned char *data, std::size_t size,
                                   const std::string &name) {
    ByteBuffer unpacked, decompressed;
    const char *container = "";
    if (size >= 2 && data[0] == 0x1F && data[1] == 0x8B) {
        InflateError error;
        if (!gunzip(data, size, unpacked, error))
            return failLine(name, "the gzip stream is damaged (" + error.description + " " +
                                      std::to_string(error.code) + ")");
        data = unpacked.data();
        size = unpacked.size();
        container = " (inside gzip)";
    }
    if (isBloscContainer(data, size)) {
        std::string error;
        if (!unpackBloscContainer(data, size, decompressed, error))
            return failLine(name, "blosc-compressed (.sc) file in Houdini's newer geometry "
                                  "format: " +
                                      error);
        data = decompressed.data();
        size = decompressed.size();
        container = " (blosc-compressed .sc)";
    }
    if (!isBinaryJson(data, size))
        return failLine(name, std::string("not Houdini's binary JSON geometry") + container +
                                  ", it starts with " + leadingBytesHex(data, size, 5));

    const bool trace = global_doDebug == 1;
    TokenReader reader(data, size);
    JsonDocument doc;
    if (!reader.start() || !readDocument(reader, doc, trace))
        return failLine(name, std::string("Houdini's newer geometry format") + container + ": " +
                                  reader.error());
    if (trace)
        std::cerr << "JSON geometry " << doc.fileVersion << ": " << doc.pointCount << " points, "
                  << doc.polygons.size() << " polygons kept, " << doc.skippedPrimitives
                  << " other primitives read past\n";
    fill(detail, doc);
    return 1;
}

} // namespace kelp
