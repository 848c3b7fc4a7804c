// Loading a geometry file: the path test and messages, reading the file into
// memory, recognising what it holds by its first bytes, inflating gzip
// streams, and handing classic binary data to the ClassicLoader.
#include "classic/ClassicLoader.h"
#include "io/FileFormat.h"
#include "io/Inflate.h"
#include "json/JsonLoader.h"

#include <Kelp>

#include <iostream>
#include <utility>

using namespace kelp;

namespace {

bool tracing() {
    return global_doDebug == 1;
}

void failLine(const std::string &name, const std::string &reason) {
    if (tracing())
        std::cerr << '\n';
    std::cerr << "could not load " << name << ": " << reason << '\n';
}

// Parses uncompressed bytes into model; complete or nothing.
std::int32_t loadPlain(Kelp &model, const unsigned char *data, std::size_t size,
                       const std::string &name) {
    switch (sniffFileFormat(data, size)) {
    case FileFormat::ClassicBinary: {
        Kelp scratch(model);
        ClassicLoader loader(scratch, data, size);
        if (!loader.load(tracing())) {
            failLine(name, loader.error());
            return 0;
        }
        model = std::move(scratch);
        return 1;
    }
    // ---- Houdini's newer (JSON-based) format: binary and .sc by JsonLoader --
    case FileFormat::JsonBinary:
    case FileFormat::Blosc:
        return JsonLoader::load(model, data, size, name);
    case FileFormat::JsonAscii:
        failLine(name, "the file is in Houdini's newer geometry format as text, which Kelp does "
                       "not read");
        return 0;
    // ------------------------------------------------------------------------
    case FileFormat::ClassicAscii:
        failLine(name, "the file is an ASCII geometry file, which Kelp does not read");
        return 0;
    case FileFormat::Empty:
        failLine(name, "the file is empty");
        return 0;
    case FileFormat::Gzip:
        failLine(name, "the file is gzip-compressed twice");
        return 0;
    case FileFormat::Unknown:
        break;
    }
    failLine(name, "not a classic binary geometry file (it starts with " +
                       leadingBytesHex(data, size, 8) + ")");
    return 0;
}

std::int32_t loadBytes(Kelp &model, const unsigned char *data, std::size_t size,
                       const std::string &name) {
    if (sniffFileFormat(data, size) != FileFormat::Gzip)
        return loadPlain(model, data, size, name);
    ByteBuffer inflated;
    InflateError error;
    if (!gunzip(data, size, inflated, error)) {
        std::cerr << "could not unzip file exiting: " << error.description << " " << error.code
                  << " (" << name << ")" << std::endl;
        return 0;
    }
    return loadPlain(model, inflated.data(), inflated.size(), name);
}

} // namespace

std::int32_t Kelp::loadBgeo(std::string filename) {
    return intLoadBgeo(filename);
}

std::int32_t Kelp::intLoadBgeo(std::string filename) {
    if (filename.find("bgeo") == std::string::npos) {
        std::cerr << "file type extension did not contain .bgeo, Quitting: " << filename
                  << std::endl;
        return 0;
    }
    std::string::size_type dot = filename.rfind('.');
    std::string ext = dot == std::string::npos ? filename : filename.substr(dot + 1);
    // The name still decides the trace wording; the content decides how the
    // bytes are read.
    bool gzName = std::string("gz").find(ext) != std::string::npos;
    if (tracing()) {
        if (gzName)
            std::cerr << "openig as bgeo.gz as end of string is ." << ext << std::endl;
        else
            std::cerr << "opening as regular bgeo as end of string is ." << ext << std::endl;
    }
    ByteBuffer file;
    switch (readWholeFile(filename, file)) {
    case ReadResult::Ok:
        break;
    case ReadResult::CannotOpen:
        std::cerr << std::endl << "could not open file: " << filename;
        return 0;
    case ReadResult::NotAFile:
        failLine(filename, "not a file");
        return 0;
    case ReadResult::ReadFailed:
        failLine(filename, "the file could not be read");
        return 0;
    case ReadResult::OutOfMemory:
        failLine(filename, "not enough memory to read the file");
        return 0;
    }
    if (sniffFileFormat(file.data(), file.size()) == FileFormat::Gzip) {
        // The compressed bytes are not needed once inflated: they are freed
        // before the parse so that they do not add to the peak.
        ByteBuffer inflated;
        InflateError error;
        const bool inflatedOk = gunzip(file.data(), file.size(), inflated, error);
        { ByteBuffer released(std::move(file)); }
        if (!inflatedOk) {
            std::cerr << "could not unzip file exiting: " << error.description << " " << error.code
                      << " (" << filename << ")" << std::endl;
            return 0;
        }
        return loadPlain(*this, inflated.data(), inflated.size(), filename);
    }
    return loadBytes(*this, file.data(), file.size(), filename);
}

std::int32_t Kelp::loadBgeoFromMemory(const unsigned char *data, std::size_t size,
                                      const std::string &name) {
    return loadBytes(*this, data, size, name);
}
