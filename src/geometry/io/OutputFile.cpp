#include "io/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#ifndef S_ISREG
#define S_ISREG(m) (((m)&S_IFMT) == S_IFREG)
#endif
#ifndef S_ISDIR
#define S_ISDIR(m) (((m)&S_IFMT) == S_IFDIR)
#endif
#else
#include <limits.h>
#include <unistd.h>
#endif

namespace kelp {

namespace {

#ifdef _WIN32
const char kSeparators[] = "/\\";
int openNew(const std::string &path) {
    return _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                 _S_IREAD | _S_IWRITE);
}
int openExisting(const std::string &path) {
    return _open(path.c_str(), _O_WRONLY | _O_TRUNC | _O_BINARY | _O_NOINHERIT);
}
long writeSome(int fd, const char *data, std::size_t size) {
    unsigned int chunk = size > (1u << 30) ? (1u << 30) : static_cast<unsigned int>(size);
    return _write(fd, data, chunk);
}
int syncFile(int fd) {
    return _commit(fd);
}
int closeFile(int fd) {
    return _close(fd);
}
// A target that another program holds open without letting it be renamed
// over (as most Windows programs open files) cannot be replaced. Such holds
// are often brief (a viewer, an indexer), so the rename is tried for about a
// second; after that the save fails and the earlier file stays whole, rather
// than being rewritten under the reader's feet.
const int kHeldOpen = -2;
int replaceFile(const std::string &from, const std::string &to) {
    bool held = false;
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (MoveFileExA(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return 0;
        const DWORD why = GetLastError();
        held = why == ERROR_ACCESS_DENIED || why == ERROR_SHARING_VIOLATION;
        if (!held)
            break;
        Sleep(50);
    }
    errno = EACCES;
    return held ? kHeldOpen : -1;
}
int processId() {
    return _getpid();
}
std::string followLinks(const std::string &path) {
    return path;
}
#else
const char kSeparators[] = "/";
int openNew(const std::string &path) {
    // 0666: the umask (and any default ACL of the folder) apply as for any new file.
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
int openExisting(const std::string &path) {
    return ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
}
long writeSome(int fd, const char *data, std::size_t size) {
    std::size_t chunk = size > (std::size_t(1) << 30) ? (std::size_t(1) << 30) : size;
    return static_cast<long>(::write(fd, data, chunk));
}
int syncFile(int fd) {
    return ::fsync(fd);
}
int closeFile(int fd) {
    return ::close(fd);
}
const int kHeldOpen = -2;
int replaceFile(const std::string &from, const std::string &to) {
    return std::rename(from.c_str(), to.c_str());
}
int processId() {
    return static_cast<int>(::getpid());
}
// A target that is a symbolic link is replaced at the file the link points
// to, as writing through the link would do; a dangling link is replaced.
std::string followLinks(const std::string &path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char *resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string result(resolved);
    std::free(resolved);
    return result;
}
#endif

std::string hex(unsigned long long value) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[value & 15]);
        value >>= 4;
    } while (value);
    return text;
}

} // namespace

OutputFile::OutputFile(const std::string &target) : m_target(target) {}

OutputFile::~OutputFile() {
    discard();
}

bool OutputFile::fail(const char *what, int err) {
    if (!m_failed) {
        m_failed = true;
        m_error = std::string(what) + m_target + " (" + std::strerror(err) + ")";
    }
    return false;
}

void OutputFile::discard() {
    if (m_fd >= 0) {
        closeFile(m_fd);
        m_fd = -1;
    }
    if (!m_committed && !m_inPlace && !m_writing.empty()) {
        std::remove(m_writing.c_str());
        m_writing.clear();
    }
}

bool OutputFile::open() {
    m_final = followLinks(m_target);

    struct stat st;
    if (::stat(m_final.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        if (S_ISDIR(st.st_mode))
            return fail("could not open file for writting: ", EISDIR);
        m_inPlace = true;
        m_writing = m_final;
        m_fd = openExisting(m_final);
        if (m_fd < 0)
            return fail("could not open file for writting: ", errno);
        return true;
    }

    std::string::size_type slash = m_final.find_last_of(kSeparators);
    std::string folder = slash == std::string::npos ? std::string() : m_final.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? m_final : m_final.substr(slash + 1);
    if (name.size() > 180) // keep the temporary name within the file system's limit
        name.resize(180);

    std::random_device seed;
    std::mt19937_64 random((static_cast<unsigned long long>(seed()) << 32) ^ seed());
    int err = EEXIST;
    for (int attempt = 0; attempt < 64 && err == EEXIST; ++attempt) {
        std::string candidate = folder + "." + name + ".kelp" + hex(processId()) + "-" +
                                hex(random() & 0xffffffffffULL) + ".tmp";
        m_fd = openNew(candidate);
        if (m_fd >= 0) {
            m_writing = candidate;
            return true;
        }
        err = errno;
    }
    return fail("could not open file for writting: ", err);
}

bool OutputFile::write(const char *data, std::size_t size) {
    if (m_failed)
        return false;
    if (m_fd < 0)
        return fail("could not write file: ", EBADF);
    while (size > 0) {
        long done = writeSome(m_fd, data, size);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return fail("could not write file: ", errno);
        }
        if (done == 0)
            return fail("could not write file: ", ENOSPC);
        data += done;
        size -= static_cast<std::size_t>(done);
    }
    return true;
}

bool OutputFile::commit() {
    if (m_failed || m_fd < 0) {
        if (!m_failed)
            fail("could not write file: ", EBADF);
        discard();
        return false;
    }
    if (!m_inPlace && syncFile(m_fd) != 0) {
        fail("could not flush file: ", errno);
        discard();
        return false;
    }
    int fd = m_fd;
    m_fd = -1;
    if (closeFile(fd) != 0) {
        fail("could not close file: ", errno);
        discard();
        return false;
    }
    if (!m_inPlace) {
        const int replaced = replaceFile(m_writing, m_final);
        if (replaced == kHeldOpen && !m_failed) {
            m_failed = true;
            m_error = "could not replace file: " + m_target +
                      " (another program holds it open; the earlier file is kept)";
        }
        if (replaced != 0) {
            fail("could not replace file: ", errno);
            discard();
            return false;
        }
    }
    m_committed = true;
    return true;
}

} // namespace kelp
