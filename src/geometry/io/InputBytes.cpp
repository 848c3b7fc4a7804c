#include "io/InputBytes.h"

#include <cstring>

#include <sys/stat.h>

namespace kelp {

namespace {

bool seekTo(std::FILE *file, std::uint64_t offset) {
#if defined(_WIN32)
    return _fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

} // namespace

InputBytes::~InputBytes() {
    if (m_file)
        std::fclose(m_file);
}

void InputBytes::useMemory(const unsigned char *data, std::size_t size) {
    m_data = data;
    m_size = size;
}

ReadResult InputBytes::open(const std::string &path) {
    struct stat st;
    const bool known = stat(path.c_str(), &st) == 0;
    if (known && (st.st_mode & S_IFMT) == S_IFDIR) {
        // Some systems open a folder for reading; others refuse it outright.
        std::FILE *probe = std::fopen(path.c_str(), "rb");
        if (!probe)
            return ReadResult::CannotOpen;
        std::fclose(probe);
        return ReadResult::NotAFile;
    }
    if (!known || (st.st_mode & S_IFMT) != S_IFREG) {
        // A pipe or a device: read it through to its end, as it comes.
        const ReadResult whole = readWholeFile(path, m_whole);
        if (whole == ReadResult::Ok)
            useMemory(m_whole.data(), m_whole.size());
        return whole;
    }
    m_file = std::fopen(path.c_str(), "rb");
    if (!m_file)
        return ReadResult::CannotOpen;
    // The reads are large; the stream's own buffer would only add a copy.
    std::setvbuf(m_file, nullptr, _IONBF, 0);
    m_size = static_cast<std::uint64_t>(st.st_size);
    return ReadResult::Ok;
}

bool InputBytes::readAt(std::uint64_t offset, unsigned char *to, std::size_t n) {
    if (offset > m_size || n > m_size - offset)
        return false;
    if (!m_file) {
        std::memcpy(to, m_data + offset, n);
        return true;
    }
    if (m_at != offset && !seekTo(m_file, offset))
        return false;
    const std::size_t got = std::fread(to, 1, n, m_file);
    m_at = offset + got;
    return got == n;
}

} // namespace kelp
