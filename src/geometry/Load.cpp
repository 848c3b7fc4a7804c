// Loading a geometry file, one path for every form and every caller (the
// host, the tools, the tests and the fuzzers):
//   1. open the bytes (the file, or the caller's buffer);
//   2. unwrap the containers, recognised by their first bytes: gzip, then
//      the Blosc container of .bgeo.sc files, each read as a stream;
//   3. recognise the content by its first bytes and hand it to its parser,
//      classic or JSON-based, binary or text, which fills a scratch detail;
//   4. move the scratch detail into the caller's only when the parse is whole
//      and the containers' own checks (the gzip trailer) hold to their end.
// Every failure is one line: "could not load NAME: REASON". Nothing is thrown
// to the caller; running out of memory is a failed load like any other.
//
// Memory: the binary forms are parsed through a window of about 1 MiB over
// the stream (the file read, the gzip stream inflated, the Blosc chunks
// decompressed, a batch at a time, as the parser reaches them), so a load
// holds the detail it fills and little more. The text forms are read whole.
// No count from a file sizes an allocation before the bytes that back it
// could be there; parsers grow their arrays as the bytes are read, or
// reserve from counts checked against the bytes that remain.
#include "classic/ClassicAsciiLoader.h"
#include "classic/ClassicLoader.h"
#include "LoadStream.h"
#include "io/BloscContainer.h"
#include "io/ByteBuffer.h"
#include "io/ByteCursor.h"
#include "io/FileFormat.h"
#include "io/GzipSource.h"
#include "io/InputBytes.h"
#include "io/PlainSource.h"
#include "json/JsonLoader.h"
#include "json/JsonTokens.h"

#include <Kelp>

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
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

// The stream on its way to a parser: the input, the source that reads it
// (plain, gzip, Blosc) and the cursor over that source, and which containers
// it came out of.
struct Stage {
    InputBytes input;
    std::unique_ptr<ByteSource> source;
    std::unique_ptr<ByteCursor> cursor;
    GzipSource *gzip = nullptr; // the source, when it is gzip's
    std::string containers;     // " (inside gzip)", " (blosc-compressed .sc)"
    bool blosc = false;
    // A stream inflated whole to reach a container inside it, or a text
    // form's bytes.
    ByteBuffer whole;
    InputBytes wholeInput;
    std::size_t window = kStreamWindow;

    void read(std::unique_ptr<ByteSource> from) {
        source = std::move(from);
        cursor.reset(new ByteCursor(*source, window));
    }
    // What the next bytes of the stream hold.
    FileFormat format() {
        const std::size_t most = 65;
        std::size_t n = most;
        const unsigned char *p = nullptr;
        while (n > 0 && !(p = cursor->peek(n)))
            --n;
        return sniffFileFormat(p, n);
    }
    std::string leading() {
        std::size_t n = 8;
        const unsigned char *p = nullptr;
        while (n > 0 && !(p = cursor->peek(n)))
            --n;
        return leadingBytesHex(p, n, 8);
    }
};

bool gzipFailed(const GzipSource &gzip, const std::string &name) {
    const InflateError &error = gzip.inflateError();
    if (error.code == kInflateOutOfMemory)
        return failLine(name, "not enough memory to decompress the file");
    std::cerr << "could not unzip file exiting: " << error.description << " " << error.code << " ("
              << name << ")" << std::endl;
    return false;
}

// Whether the stream broke off (a damaged gzip or Blosc container, a read
// error), said as such: that, not what the parser made of the cut, is why
// the load failed.
bool streamFailed(const Stage &stage, const std::string &name) {
    if (!stage.source || !stage.source->failed())
        return false;
    if (stage.gzip)
        return !gzipFailed(*stage.gzip, name);
    if (stage.blosc)
        return !failLine(name, "blosc-compressed (.sc) file in Houdini's newer geometry format: " +
                                   stage.source->error());
    return !failLine(name, "the file could not be read");
}

// The gzip trailer is checked even when the parser stopped before it.
bool streamWhole(Stage &stage, const std::string &name) {
    return !stage.gzip || stage.gzip->finish() || gzipFailed(*stage.gzip, name);
}

// The rest of the stream into one buffer, for what cannot be read as a
// stream (text, a container inside gzip); false when the stream breaks off.
bool readWhole(Stage &stage) {
    ByteCursor &cur = *stage.cursor;
    std::size_t used = 0;
    for (;;) {
        std::size_t got = 0;
        const unsigned char *p = cur.atEnd() ? nullptr : cur.takeUnits(1, kStreamWindow, got);
        if (!p)
            break;
        if (used + got > stage.whole.capacity() &&
            !stage.whole.reserve(std::max(used + got, 2 * stage.whole.capacity())))
            throw std::bad_alloc();
        std::memcpy(stage.whole.data() + used, p, got);
        used += got;
    }
    stage.whole.resize(used);
    return !stage.source->failed();
}

bool unwrapGzip(Stage &stage) {
    std::unique_ptr<GzipSource> gzip(new GzipSource(stage.input));
    stage.gzip = gzip.get();
    stage.read(std::move(gzip));
    stage.containers = " (inside gzip)";
    return !stage.source->failed();
}

bool unwrapBlosc(Stage &stage, InputBytes &input, const std::string &name) {
    std::string error;
    std::unique_ptr<ByteSource> blosc = openBloscStream(input, error);
    if (!blosc)
        return failLine(name,
                        "blosc-compressed (.sc) file in Houdini's newer geometry format: " + error);
    stage.read(std::move(blosc));
    stage.gzip = nullptr;
    stage.blosc = true;
    stage.containers = " (blosc-compressed .sc)";
    return true;
}

// A Blosc container inside gzip: its index is at its end, so the inflated
// stream is held whole and the container read from there.
bool unwrapBloscInGzip(Stage &stage, const std::string &name) {
    if (!readWhole(stage) || !stage.gzip->finish())
        return gzipFailed(*stage.gzip, name);
    stage.wholeInput.useMemory(stage.whole.data(), stage.whole.size());
    return unwrapBlosc(stage, stage.wholeInput, name);
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

std::int32_t parseClassic(Kelp &model, Stage &stage, const std::string &name) {
    Kelp scratch(model);
    ClassicLoader loader(scratch, *stage.cursor);
    if (!loader.load(tracing()))
        return streamFailed(stage, name) ? 0 : failLine(name, loader.error());
    std::string error;
    if (!onePosition(scratch, error))
        return failLine(name, error);
    if (!streamWhole(stage, name))
        return 0;
    model = std::move(scratch);
    return 1;
}

std::int32_t parseClassicAscii(Kelp &model, Stage &stage, const std::string &name) {
    if (!readWhole(stage))
        return streamFailed(stage, name) ? 0 : failLine(name, "the file could not be read");
    Kelp scratch(model);
    ClassicAsciiLoader loader(scratch, stage.whole.data(), stage.whole.size());
    const std::string form = "ASCII geometry file" + stage.containers + ": ";
    if (!loader.load(tracing()))
        return failLine(name, form + loader.error());
    std::string error;
    if (!onePosition(scratch, error))
        return failLine(name, form + error);
    if (!streamWhole(stage, name))
        return 0;
    model = std::move(scratch);
    return 1;
}

// The binary form through the stream's window; the text form whole.
bool parseJsonDocument(Kelp &scratch, Stage &stage, bool text, std::string &error) {
    if (!text) {
        TokenReader reader(*stage.cursor);
        return JsonLoader::parse(scratch, reader, tracing(), error);
    }
    if (!readWhole(stage)) {
        error = "the file could not be read";
        return false;
    }
    return JsonLoader::parse(scratch, stage.whole.data(), stage.whole.size(), tracing(), error);
}

std::int32_t parseJson(Kelp &model, Stage &stage, const std::string &name) {
    const bool text = stage.format() == FileFormat::JsonAscii;
    Kelp scratch(model);
    std::string error;
    if (!parseJsonDocument(scratch, stage, text, error) || !onePosition(scratch, error))
        return streamFailed(stage, name)
                   ? 0
                   : failLine(name, std::string("Houdini's newer geometry format") +
                                        (text ? " as text" : "") + stage.containers + ": " + error);
    if (!streamWhole(stage, name))
        return 0;
    model = std::move(scratch);
    return 1;
}

std::int32_t parse(Kelp &model, Stage &stage, const std::string &name) {
    const FileFormat format = stage.format();
    if (streamFailed(stage, name))
        return 0;
    switch (format) {
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
                              " (it starts with " + stage.leading() + ")");
}

std::int32_t load(Kelp &model, Stage &stage, const std::string &name) {
    stage.read(std::unique_ptr<ByteSource>(new PlainSource(stage.input)));
    if (stage.format() == FileFormat::Gzip && !unwrapGzip(stage))
        return gzipFailed(*stage.gzip, name);
    const FileFormat inner = stage.format();
    if (streamFailed(stage, name))
        return 0;
    if (inner == FileFormat::Blosc &&
        !(stage.gzip ? unwrapBloscInGzip(stage, name) : unwrapBlosc(stage, stage.input, name)))
        return 0;
    return parse(model, stage, name);
}

std::int32_t openFile(const std::string &filename, Stage &stage) {
    switch (stage.input.open(filename)) {
    case ReadResult::Ok:
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

std::int32_t kelp::loadFileThroughWindow(Kelp &model, const std::string &filename,
                                         std::size_t windowBytes) {
    return kelp::guarded(filename, [&] {
        kelp::Stage stage;
        stage.window = windowBytes;
        return kelp::openFile(filename, stage) ? kelp::load(model, stage, filename) : 0;
    });
}

std::int32_t kelp::loadMemoryThroughWindow(Kelp &model, const unsigned char *data, std::size_t size,
                                           const std::string &name, std::size_t windowBytes) {
    return kelp::guarded(name, [&] {
        kelp::Stage stage;
        stage.window = windowBytes;
        stage.input.useMemory(data, size);
        return kelp::load(model, stage, name);
    });
}

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
    return kelp::loadFileThroughWindow(*this, filename, kelp::kStreamWindow);
}

std::int32_t Kelp::loadBgeoFromMemory(const unsigned char *data, std::size_t size,
                                      const std::string &name) {
    return kelp::loadMemoryThroughWindow(*this, data, size, name, kelp::kStreamWindow);
}
