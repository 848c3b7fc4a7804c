// Kelp::saveBgeo: writes a detail as a binary or text geometry file, plain
// or gzip-compressed as its name says, complete or not at all; classic, or
// JSON-based when asked for and always for .bgeo.sc.
#include "classic/DetailWalk.h"
#include "classic/Encoding.h"
#include "io/GzipWriter.h"
#include "io/OutputFile.h"
#include "classic/SaveForm.h"
#include "json/JsonSaver.h"

#include <exception>
#include <iostream>
#include <new>
#include <utility>

using namespace kelp;

namespace {

std::int32_t save(Kelp &detail, const std::string &filename, bool json) {
    const SaveForm form = chooseSaveForm(filename, json);
    if (form.json)
        return saveJsonForm(detail, filename, form);
    if (form.kind == SaveForm::Refused) {
        std::cerr << "could not detect .geo or  .bgeo file extensions with or without .gz : "
                     "Quitting "
                  << filename << "\n";
        return 0;
    }
    const bool binary = form.kind == SaveForm::Binary;

    DetailWalk walk(detail, binary);
    const std::string problem = walk.problem();
    if (!problem.empty()) {
        std::cerr << "could not save file: " << filename << ": " << problem << "\n";
        return 0;
    }

    OutputFile file(filename);
    const bool opened = file.open();
    if (traceOn())
        std::cerr << (form.compressed ? "saving as bgeo.gz as end of string is ."
                                      : "saving as regular bgeo as end of string is .")
                  << form.ext << "\n";
    if (binary)
        std::cerr << "BGEO code saving file as: " << form.ext << "\n";
    else
        std::cerr << "GEO code saving file as : " << form.ext << "\n";
    if (!opened) {
        std::cerr << file.error() << "\n";
        return 0;
    }

    GzipWriter gzip(file, filename);
    ByteSink &sink = form.compressed ? static_cast<ByteSink &>(gzip) : file;
    bool done = walk.write(sink, traceOn());
    if (done && form.compressed)
        done = gzip.finish();
    if (done)
        done = file.commit();
    if (!done) {
        if (!walk.error().empty())
            std::cerr << "could not save file: " << filename << ": " << walk.error() << "\n";
        else if (!sink.error().empty())
            std::cerr << sink.error() << "\n";
        else
            std::cerr << "could not write file: " << filename << "\n";
        return 0;
    }
    return 1;
}

} // namespace

std::int32_t Kelp::saveBgeo(std::string filename) {
    return intSaveBgeo(std::move(filename), KelpFormat::Classic);
}

std::int32_t Kelp::saveBgeo(std::string filename, KelpFormat format) {
    return intSaveBgeo(std::move(filename), format);
}

std::int32_t Kelp::intSaveBgeo(std::string filename, KelpFormat format) {
    // Nothing is thrown to the caller: running out of memory fails the save
    // like any other error (an unfinished file is removed on the way out).
    try {
        return save(*this, filename, format == KelpFormat::Json);
    } catch (const std::bad_alloc &) {
        std::cerr << "could not save file: " << filename << " (not enough memory)\n";
        return 0;
    } catch (const std::exception &e) {
        std::cerr << "could not save file: " << filename << " (" << e.what() << ")\n";
        return 0;
    }
}
