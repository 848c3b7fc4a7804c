// The file a save writes, complete or not at all.
//
// The bytes go to a new file next to the target, created with the
// permissions an ordinary create gives (0666 less the umask); commit() makes
// it durable and renames it over the target. Until commit() succeeds the
// target keeps its previous contents, and a file that is not committed is
// removed. A target that exists and is not a regular file (a device such as
// /dev/null, a pipe) is written in place. On Windows a target that another
// program holds open cannot be renamed over: the save then fails and the
// target keeps its previous contents.
#ifndef KELP_GEOMETRY_OUTPUTFILE_H
#define KELP_GEOMETRY_OUTPUTFILE_H

#include "io/ByteSink.h"

#include <string>

namespace kelp {

class OutputFile : public ByteSink {
public:
    explicit OutputFile(const std::string &target);
    ~OutputFile() override;
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // Creates the file to write; false (with error()) when it cannot.
    bool open();
    bool write(const char *data, std::size_t size) override;
    // Flushes to disk, closes and puts the file in place of the target.
    bool commit();
    const std::string &error() const override { return m_error; }

    // Where the bytes are being written (the temporary file, or the target
    // itself when it is written in place); empty before open().
    const std::string &writingTo() const { return m_writing; }

private:
    bool fail(const char *what, int err);
    void discard();

    std::string m_target;  // the path as given
    std::string m_final;   // the path the file ends up at (symbolic links followed)
    std::string m_writing; // the file being written
    bool m_inPlace = false;
    int m_fd = -1;
    bool m_failed = false;
    bool m_committed = false;
    std::string m_error;
};

} // namespace kelp

#endif
