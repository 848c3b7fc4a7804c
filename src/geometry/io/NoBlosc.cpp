// The Blosc container in a build without Blosc: nothing is compressed or
// decompressed, and every use fails with one line that says why, through the
// same failure paths as a damaged container or a failed compression.
#include "io/BloscContainer.h"
#include "io/BloscPack.h"

namespace kelp {

namespace {

const char kCannotRead[] = "built without Blosc: cannot read .bgeo.sc files";
const char kCannotWrite[] = "built without Blosc: cannot write .bgeo.sc files";

} // namespace

bool unpackBloscContainer(const unsigned char *, std::size_t, ByteBuffer &, std::string &error) {
    error = kCannotRead;
    return false;
}

std::unique_ptr<ByteSource> openBloscStream(InputBytes &, std::string &error) {
    error = kCannotRead;
    return nullptr;
}

BloscWriter::BloscWriter(ByteSink &out, unsigned threads)
    : m_out(out), m_threads(threads), m_batch(0), m_failed(true), m_error(kCannotWrite) {}

const std::string &BloscWriter::error() const {
    return m_error;
}

bool BloscWriter::write(const char *, std::size_t) {
    return false;
}

bool BloscWriter::finish() {
    return false;
}

bool packBloscContainer(const unsigned char *, std::size_t, std::vector<unsigned char> &out,
                        std::string &error, unsigned) {
    out.clear();
    error = kCannotWrite;
    return false;
}

} // namespace kelp
