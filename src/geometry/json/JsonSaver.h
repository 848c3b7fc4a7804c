// The geometry document of Houdini's JSON-based format, written from a
// detail: binary (.bgeo, .bgeo.gz, .bgeo.sc) or ASCII (.geo, .geo.gz).
#ifndef KELP_GEOMETRY_JSON_JSONSAVER_H
#define KELP_GEOMETRY_JSON_JSONSAVER_H

#include <Kelp>

#include <string>
#include <vector>

namespace kelp {

struct SaveForm;

// What the document claims as the writer and the date, fixed by tests.
struct JsonStamp {
    std::string software = "Kelp";
    std::string date; // empty: now, as "YYYY-MM-DD hh:mm:ss" (UTC)
};

// The whole document in memory. False, with the reason in error, when the
// detail contradicts itself (values missing for some points or vertices,
// point numbers beyond the points).
bool writeJsonDocument(const Kelp &detail, bool binary, const JsonStamp &stamp,
                       std::vector<unsigned char> &out, std::string &error);

// Writes the detail to filename in the JSON form `form` names (binary or
// text, plain, gzip or Blosc), complete or not at all, with the save's
// message lines on standard error. 1 done, 0 failed.
std::int32_t saveJsonForm(const Kelp &detail, const std::string &filename, const SaveForm &form);

} // namespace kelp

#endif
