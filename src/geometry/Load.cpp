// Loading a geometry file, one path for every form and every caller (the
// host, the tools, the tests and the fuzzers):
//   1. take the bytes (read the file, or the caller's buffer);
//   2. unwrap the containers, recognised by their first bytes: gzip, then
//      the Blosc container of .bgeo.sc files;
//   3. recognise the content by its first bytes and hand it to its parser,
//      classic or JSON-based, binary or text, which fills a scratch detail;
//   4. move the scratch detail into the caller's only when the parse is whole.
// Every failure is one line: "could not load NAME: REASON". Nothing is thrown
// to the caller; running out of memory is a failed load like any other.
//
// Memory: beyond the detail it fills, a load holds the bytes it reads and at
// most four times as many again in working memory. No count from a file
// sizes an allocation before the bytes that back it are known to be there;
// parsers grow their arrays as the bytes are read, or reserve from counts
// checked against the bytes that remain.
#include "classic/ClassicAsciiLoader.h"
#include "classic/ClassicLoader.h"
#include "io/BloscContainer.h"
#include "io/ByteBuffer.h"
#include "io/FileFormat.h"
#include "io/Inflate.h"
#include "json/JsonLoader.h"

#include <Kelp>

#include <exception>
#include <iostream>
#include <new>
#include <utility>

namespace kelp {

namespace {

bool tracing() {
    return global_doDebug == 1;
}

std::int32_t failLine(const std::string &name, const std::string &reason) {
    if (tracing())
        std::cerr << '\n';
    std::cerr << "could not load " << name << ": " << reason << '\n';
    return 0;
}

// The bytes on their way to a parser: what is read now, the buffer that owns
// it once a container has been unwrapped, and which containers it came out of.
struct Stage {
    const unsigned char *data = nullptr;
    std::size_t size = 0;
    ByteBuffer owned;
    std::string containers; // " (inside gzip)", " (blosc-compressed .sc)"

    FileFormat format() const { return sniffFileFormat(data, size); }
    // Replaces the bytes by what came out of a container; the container's own
    // bytes are freed here, so that they do not add to the peak of the parse.
    void replace(ByteBuffer &&unwrapped) {
        owned = std::move(unwrapped);
        data = owned.data();
        size = owned.size();
    }
};

bool unwrapGzip(Stage &stage, const std::string &name) {
    ByteBuffer inflated;
    InflateError error;
    if (!gunzip(stage.data, stage.size, inflated, error)) {
        if (error.code == kInflateOutOfMemory)
            return failLine(name, "not enough memory to decompress the file");
        std::cerr << "could not unzip file exiting: " << error.description << " " << error.code
                  << " (" << name << ")" << std::endl;
        return false;
    }
    stage.replace(std::move(inflated));
    stage.containers = " (inside gzip)";
    return true;
}

bool unwrapBlosc(Stage &stage, const std::string &name) {
    ByteBuffer unpacked;
    std::string error;
    if (!unpackBloscContainer(stage.data, stage.size, unpacked, error))
        return failLine(name,
                        "blosc-compressed (.sc) file in Houdini's newer geometry format: " + error);
    stage.replace(std::move(unpacked));
    stage.containers = " (blosc-compressed .sc)";
    return true;
}

// Positions are the one point attribute "P": a file that names a second one
// (a dictionary entry, a string attribute) would leave its readers to find
// the wrong one.
bool onePosition(const Kelp &model, std::string &error) {
    int named = 0;
    for (const AttributeData &a : model.getPointAttributes())
        named += a.name == "P";
    if (named <= 1)
        return true;
    error = "the file has " + std::to_string(named) + " point attributes named \"P\"";
    return false;
}

std::int32_t parseClassic(Kelp &model, const Stage &stage, const std::string &name) {
    Kelp scratch(model);
    ClassicLoader loader(scratch, stage.data, stage.size);
    if (!loader.load(tracing()))
        return failLine(name, loader.error());
    std::string error;
    if (!onePosition(scratch, error))
        return failLine(name, error);
    model = std::move(scratch);
    return 1;
}

std::int32_t parseClassicAscii(Kelp &model, const Stage &stage, const std::string &name) {
    Kelp scratch(model);
    ClassicAsciiLoader loader(scratch, stage.data, stage.size);
    const std::string form = "ASCII geometry file" + stage.containers + ": ";
    if (!loader.load(tracing()))
        return failLine(name, form + loader.error());
    std::string error;
    if (!onePosition(scratch, error))
        return failLine(name, form + error);
    model = std::move(scratch);
    return 1;
}

std::int32_t parseJson(Kelp &model, const Stage &stage, const std::string &name) {
    Kelp scratch(model);
    std::string error;
    if (!JsonLoader::parse(scratch, stage.data, stage.size, tracing(), error) ||
        !onePosition(scratch, error))
        return failLine(name, std::string("Houdini's newer geometry format") +
                                  (stage.format() == FileFormat::JsonAscii ? " as text" : "") +
                                  stage.containers + ": " + error);
    model = std::move(scratch);
    return 1;
}

std::int32_t parse(Kelp &model, const Stage &stage, const std::string &name) {
    switch (stage.format()) {
    case FileFormat::ClassicBinary:
        return parseClassic(model, stage, name);
    case FileFormat::JsonBinary:
    case FileFormat::JsonAscii:
        return parseJson(model, stage, name);
    case FileFormat::ClassicAscii:
        return parseClassicAscii(model, stage, name);
    case FileFormat::Empty:
        return failLine(name, stage.containers.empty() ? "the file is empty"
                                                       : "the file is empty" + stage.containers);
    case FileFormat::Gzip:
        return failLine(name, "the file is gzip-compressed twice");
    case FileFormat::Blosc:
        return failLine(name, "a Blosc container inside another container");
    case FileFormat::Unknown:
        break;
    }
    return failLine(name, "not a geometry file Kelp reads" + stage.containers +
                              " (it starts with " + leadingBytesHex(stage.data, stage.size, 8) +
                              ")");
}

std::int32_t load(Kelp &model, Stage &stage, const std::string &name) {
    if (stage.format() == FileFormat::Gzip && !unwrapGzip(stage, name))
        return 0;
    if (stage.format() == FileFormat::Blosc && !unwrapBlosc(stage, name))
        return 0;
    return parse(model, stage, name);
}

std::int32_t readFile(const std::string &filename, Stage &stage) {
    switch (readWholeFile(filename, stage.owned)) {
    case ReadResult::Ok:
        stage.data = stage.owned.data();
        stage.size = stage.owned.size();
        return 1;
    case ReadResult::CannotOpen:
        std::cerr << std::endl << "could not open file: " << filename << std::endl;
        return 0;
    case ReadResult::NotAFile:
        return failLine(filename, "not a file");
    case ReadResult::ReadFailed:
        return failLine(filename, "the file could not be read");
    case ReadResult::OutOfMemory:
        return failLine(filename, "not enough memory to read the file");
    }
    return 0;
}

// The last guard: whatever a step throws ends the load as a failure.
template <class Step> std::int32_t guarded(const std::string &name, Step step) {
    try {
        return step();
    } catch (const std::bad_alloc &) {
        return failLine(name, "not enough memory");
    } catch (const std::exception &e) {
        return failLine(name, std::string("unexpected failure (") + e.what() + ")");
    }
}

} // namespace

} // namespace kelp

std::int32_t Kelp::loadBgeo(std::string filename) {
    return intLoadBgeo(std::move(filename));
}

namespace kelp {
namespace {

// Names the loader opens: those of Houdini's geometry files in any of their
// forms ("bgeo", "geo", "bhclassic", "hclassic"); the bytes then decide how
// they are read.
bool geometryName(const std::string &filename) {
    return filename.find("geo") != std::string::npos ||
           filename.find("hclassic") != std::string::npos;
}

} // namespace
} // namespace kelp

std::int32_t Kelp::intLoadBgeo(std::string filename) {
    if (!kelp::geometryName(filename)) {
        std::cerr << "file type extension did not contain .bgeo, Quitting: " << filename
                  << std::endl;
        return 0;
    }
    if (kelp::tracing()) {
        // The name still decides the trace wording; the content decides how
        // the bytes are read.
        const std::string::size_type dot = filename.rfind('.');
        const std::string ext = dot == std::string::npos ? filename : filename.substr(dot + 1);
        if (std::string("gz").find(ext) != std::string::npos)
            std::cerr << "openig as bgeo.gz as end of string is ." << ext << std::endl;
        else
            std::cerr << "opening as regular bgeo as end of string is ." << ext << std::endl;
    }
    return kelp::guarded(filename, [&] {
        kelp::Stage stage;
        return kelp::readFile(filename, stage) ? kelp::load(*this, stage, filename) : 0;
    });
}

std::int32_t Kelp::loadBgeoFromMemory(const unsigned char *data, std::size_t size,
                                      const std::string &name) {
    return kelp::guarded(name, [&] {
        kelp::Stage stage;
        stage.data = data;
        stage.size = size;
        return kelp::load(*this, stage, name);
    });
}
