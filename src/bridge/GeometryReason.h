// The reason the geometry code gives for a failed load or save.
#ifndef KELP_BRIDGE_GEOMETRYREASON_H
#define KELP_BRIDGE_GEOMETRYREASON_H

#include <Kelp>

#include <maya/MString.h>

#include <iosfwd>
#include <streambuf>
#include <string>

// While one of these lives, everything the geometry code writes to the
// standard error stream still goes there unchanged, and the last line it
// wrote is kept, so that the host can show it too. A line left without its
// end is ended when the capture stops, so that it cannot run into the next
// line of the host's own output. Captures do not nest.
class GeometryReason {
public:
    GeometryReason();
    ~GeometryReason();
    GeometryReason(const GeometryReason &) = delete;
    GeometryReason &operator=(const GeometryReason &) = delete;

    // The last non-empty line written so far, without its line end.
    std::string lastLine() const;

private:
    class Tee : public std::streambuf {
    public:
        explicit Tee(std::streambuf *target) : m_target(target) {}
        std::string lastLine() const;
        bool endsOpen() const { return !m_current.empty(); }

    protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char *s, std::streamsize n) override;
        int sync() override;

    private:
        void note(char c);
        std::streambuf *m_target;
        std::string m_current;
        std::string m_last;
    };

    Tee m_tee;
    std::streambuf *m_saved;
};

// Loads `fileName` into `geo` (Kelp::loadBgeo); on failure `reason` holds the
// loader's own line.
bool loadGeometry(Kelp &geo, const MString &fileName, std::string &reason);

// One line for the host's error display when a read failed:
// "unable to read bgeo:  (<file>): <reason>".
MString readFailureText(const MString &fileName, const std::string &reason);

#endif
