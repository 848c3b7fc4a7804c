#include "Describe.h"

#include "io/BloscContainer.h"
#include "io/ByteBuffer.h"
#include "io/FileFormat.h"
#include "io/Inflate.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kelptool {

using kelp::FileFormat;

std::string FileForm::words() const {
    if (family.empty())
        return note;
    return family + " " + encoding + ", " + container;
}

namespace {

// Fills family and encoding from the content's first bytes; false when they
// are not a geometry document.
bool content(FileForm &form, const unsigned char *data, std::size_t size) {
    switch (kelp::sniffFileFormat(data, size)) {
    case FileFormat::ClassicBinary:
        form.family = "classic";
        form.encoding = "binary";
        return true;
    case FileFormat::ClassicAscii:
        form.family = "classic";
        form.encoding = "ASCII";
        return true;
    case FileFormat::JsonBinary:
        form.family = "JSON";
        form.encoding = "binary";
        return true;
    case FileFormat::JsonAscii:
        form.family = "JSON";
        form.encoding = "ASCII";
        return true;
    case FileFormat::Empty:
        form.note = "empty";
        return false;
    case FileFormat::Gzip:
        form.note = "a second gzip stream";
        return false;
    case FileFormat::Blosc:
        form.note = "a Blosc container";
        return false;
    case FileFormat::Unknown:
        break;
    }
    form.note = "not a geometry file (it starts with " + kelp::leadingBytesHex(data, size, 8) + ")";
    return false;
}

} // namespace

FileForm sniffFile(const std::string &path) {
    FileForm form;
    kelp::ByteBuffer bytes;
    switch (kelp::readWholeFile(path, bytes)) {
    case kelp::ReadResult::Ok:
        break;
    case kelp::ReadResult::CannotOpen:
        form.note = "cannot be opened";
        return form;
    case kelp::ReadResult::NotAFile:
        form.note = "not a file";
        return form;
    case kelp::ReadResult::ReadFailed:
    case kelp::ReadResult::OutOfMemory:
        form.note = "cannot be read";
        return form;
    }
    form.readable = true;
    form.container = "plain";
    const FileFormat outer = kelp::sniffFileFormat(bytes.data(), bytes.size());
    if (outer == FileFormat::Gzip) {
        form.container = "gzip";
        kelp::ByteBuffer inner;
        kelp::InflateError error;
        if (!kelp::gunzip(bytes.data(), bytes.size(), inner, error)) {
            form.note = "a damaged gzip stream";
            return form;
        }
        if (!content(form, inner.data(), inner.size()))
            form.note += " inside gzip";
    } else if (outer == FileFormat::Blosc) {
        form.container = "Blosc";
        kelp::ByteBuffer inner;
        std::string error;
        if (!kelp::unpackBloscContainer(bytes.data(), bytes.size(), inner, error)) {
            form.note = "a damaged Blosc container";
            return form;
        }
        if (!content(form, inner.data(), inner.size()))
            form.note += " inside a Blosc container";
    } else {
        content(form, bytes.data(), bytes.size());
    }
    return form;
}

namespace {

const char *storageWord(std::int32_t type) {
    switch (type) {
    case 0:
        return "float";
    case 1:
        return "int";
    case 4:
        return "string";
    case 5:
        return "vector";
    default:
        return nullptr;
    }
}

AttributeFacts facts(const AttributeData &a, const char *owner) {
    AttributeFacts f;
    f.name = a.name;
    f.owner = owner;
    const char *word = storageWord(a.type);
    f.storage = word ? word : "type " + std::to_string(a.type);
    f.size = a.size;
    // The detail holds each element in one of three forms: up to three
    // components as a vector (a pair with z 0), or the first component alone.
    if (!a.vector_data.empty()) {
        f.elements = a.vector_data.size();
        f.kept = std::min(std::max(1, f.size), 3);
        for (std::size_t e = 0; e < f.elements && e < kFirstElements; ++e) {
            const Imath::Vec3<float> &v = a.vector_data[e];
            const double all[3] = {v.x, v.y, v.z};
            f.first.emplace_back(all, all + f.kept);
        }
    } else if (!a.float_data.empty()) {
        f.elements = a.float_data.size();
        f.kept = 1;
        for (std::size_t e = 0; e < f.elements && e < kFirstElements; ++e)
            f.first.push_back({a.float_data[e]});
    } else if (!a.int_data.empty()) {
        f.elements = a.int_data.size();
        f.kept = 1;
        f.integers = true;
        for (std::size_t e = 0; e < f.elements && e < kFirstElements; ++e)
            f.first.push_back({static_cast<double>(a.int_data[e])});
    }
    return f;
}

} // namespace

std::vector<AttributeFacts> attributeFacts(const Kelp &model) {
    std::vector<AttributeFacts> out;
    for (const AttributeData &a : model.getPointAttributes())
        out.push_back(facts(a, "point"));
    for (const AttributeData &a : model.getVertexAttributes())
        out.push_back(facts(a, "vertex"));
    return out;
}

PrimitiveFacts primitiveFacts(const Kelp &model) {
    PrimitiveFacts p;
    p.total = model.getNumPrims();
    p.polygons = model.getNumPolys();
    for (const PolygonData &poly : model.getPolygons())
        if (poly.ids.size() < 3)
            ++p.shortPolygons;
    const SkippedPrimitives &skipped = model.getSkippedPrimitives();
    p.packed = skipped.packed;
    p.packedDisk = skipped.packedDisk;
    p.curves = skipped.curves;
    p.soups = skipped.soups;
    p.other = skipped.other;
    return p;
}

std::string number(double value, bool isFloat) {
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    char text[64];
    std::to_chars_result r =
        isFloat ? std::to_chars(text, text + sizeof text, static_cast<float>(value))
                : std::to_chars(text, text + sizeof text, static_cast<long long>(value));
    return std::string(text, r.ptr);
}

} // namespace kelptool
