// kelp convert IN OUT [--format classic|json] [--range A-B[:STEP]]: loads
// each frame and saves it in the form OUT's name asks for.
#include "Cli.h"
#include "Frames.h"
#include "Geometry.h"
#include "Progress.h"

#include <iostream>

namespace kelptool {

const char *const kConvertUsage =
    "usage: kelp convert IN OUT [--format classic|json] [--range A-B[:STEP]]";
const char *const kConvertHelp =
    "usage: kelp convert IN OUT [--format classic|json] [--range A-B[:STEP]]\n"
    "\n"
    "Loads IN (any form the reader node reads) and saves it as OUT, in the form\n"
    "OUT's name asks for:\n"
    "  .bgeo, .bgeo.gz   binary, plain or gzip-compressed\n"
    "  .geo, .geo.gz     ASCII, plain or gzip-compressed\n"
    "  .bgeo.sc          binary JSON in the Blosc container (always JSON)\n"
    "  .bhclassic        classic binary (always classic)\n"
    "  .hclassic         classic ASCII (always classic)\n"
    "\n"
    "  --format classic|json   the format of .bgeo, .bgeo.gz, .geo and .geo.gz\n"
    "                          names (default classic)\n"
    "  --range A-B[:STEP]      frames A to B, every STEP-th (default 1)\n"
    "\n"
    "Names may hold frame tokens: $F (the frame), $F4 (zero-padded to 4 digits,\n"
    "any one digit works) and runs of # (#### is zero-padded to 4 digits). With a\n"
    "token in either name --range is required; without one it is an error. When IN\n"
    "holds a token, OUT must hold one too.\n"
    "\n"
    "Each file is written completely or not at all: a failed save leaves a\n"
    "previous OUT as it was. The first frame that fails stops the run. A progress\n"
    "bar is drawn on standard error when it is a terminal.\n"
    "\n"
    "Exit status: 0 when every frame was written, 1 when one failed, 2 on a usage\n"
    "error.\n";

namespace {

struct ConvertArgs {
    std::string in, out;
    KelpFormat format = KelpFormat::Classic;
    bool haveRange = false;
    FrameRange range;
};

// The value of an option, given as "--name VALUE" or "--name=VALUE".
bool optionValue(const Args &args, std::size_t &i, const std::string &name, std::string &value) {
    const std::string &arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size())
            throw UsageError("kelp convert: " + name + " needs a value", kConvertUsage);
        value = args[++i];
        return true;
    }
    if (arg.compare(0, name.size() + 1, name + "=") == 0) {
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

ConvertArgs parse(const Args &args) {
    ConvertArgs c;
    Args names;
    bool flags = true;
    bool haveFormat = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string value;
        if (!flags || args[i].size() < 2 || args[i][0] != '-') {
            names.push_back(args[i]);
        } else if (args[i] == "--") {
            flags = false;
        } else if (optionValue(args, i, "--format", value)) {
            if (haveFormat)
                throw UsageError("kelp convert: --format given twice", kConvertUsage);
            haveFormat = true;
            if (value == "classic")
                c.format = KelpFormat::Classic;
            else if (value == "json")
                c.format = KelpFormat::Json;
            else
                throw UsageError("kelp convert: unknown format \"" + value + "\" (classic or json)",
                                 kConvertUsage);
        } else if (optionValue(args, i, "--range", value)) {
            if (c.haveRange)
                throw UsageError("kelp convert: --range given twice", kConvertUsage);
            std::string why;
            if (!parseFrameRange(value, c.range, why))
                throw UsageError("kelp convert: " + why, kConvertUsage);
            c.haveRange = true;
        } else {
            throw UsageError("kelp convert: unknown option " + args[i], kConvertUsage);
        }
    }
    if (names.size() != 2)
        throw UsageError(names.size() < 2 ? "kelp convert: IN and OUT are needed"
                                          : "kelp convert: more than IN and OUT given",
                         kConvertUsage);
    c.in = names[0];
    c.out = names[1];
    const bool tokens = hasFrameToken(c.in) || hasFrameToken(c.out);
    if (tokens && !c.haveRange)
        throw UsageError("kelp convert: a name holds a frame token, so --range is needed",
                         kConvertUsage);
    if (!tokens && c.haveRange)
        throw UsageError("kelp convert: --range needs a frame token ($F, $F4, ####) in a name",
                         kConvertUsage);
    if (hasFrameToken(c.in) && !hasFrameToken(c.out))
        throw UsageError("kelp convert: IN holds a frame token, so OUT needs one too",
                         kConvertUsage);
    return c;
}

void printLines(const Outcome &outcome) {
    for (const std::string &line : outcome.lines)
        std::cerr << line << '\n';
}

} // namespace

int runConvert(const Args &args) {
    const ConvertArgs c = parse(args);
    std::vector<long> frames;
    if (c.haveRange)
        frames = c.range.frames();
    const std::size_t total = c.haveRange ? frames.size() : 1;

    Progress progress(total);
    progress.update(0);
    for (std::size_t k = 0; k < total; ++k) {
        const std::string in = c.haveRange ? expandFrame(c.in, frames[k]) : c.in;
        const std::string out = c.haveRange ? expandFrame(c.out, frames[k]) : c.out;
        Kelp model;
        Outcome step = loadGeometry(model, in);
        if (step.ok)
            step = saveGeometry(model, out, c.format);
        if (!step.ok) {
            progress.finish();
            printLines(step);
            if (c.haveRange)
                std::cerr << "kelp convert: stopped at frame " << frames[k] << " (" << k << " of "
                          << total << " frames written)\n";
            return kExitFailed;
        }
        progress.update(k + 1);
    }
    progress.finish();
    return kExitOk;
}

} // namespace kelptool
