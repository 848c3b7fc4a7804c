// Which form a save writes, chosen from the name of the file.
#ifndef KELP_GEOMETRY_SAVEFORM_H
#define KELP_GEOMETRY_SAVEFORM_H

#include <string>

namespace kelp {

struct SaveForm {
    enum Kind { Refused, Binary, Text };
    Kind kind = Refused;
    bool compressed = false;
    bool json = false;  // Houdini's JSON-based format, not the classic one
    bool blosc = false; // in the Blosc container (.bgeo.sc, always JSON)
    std::string ext;    // the text after the last '.' of the file's name
};

// The file's own name (the last path component) decides: a name containing
// ".geo" is written as text, else one containing ".bgeo" in binary, anything
// else is refused. The file is gzip-compressed when ext occurs inside "gz"
// ("gz", "g", "z", or empty for a name ending in '.').
SaveForm chooseSaveForm(const std::string &path);

// The same choice when the caller may ask for the JSON-based format: a name
// ending in ".bgeo.sc" is binary JSON in the Blosc container whatever is
// asked; ".bhclassic" and ".hclassic" are classic binary and text; other
// names as above, in JSON form when json is set.
SaveForm chooseSaveForm(const std::string &path, bool json);

} // namespace kelp

#endif
