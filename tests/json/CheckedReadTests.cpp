// The real files' binary documents read through copied reads (CheckedReads.h)
// give the model the whole-buffer read gives, and so do their truncations:
// the reader keeps no pointer into its input past the next read and takes
// every long array in pieces. (Every hand-built document of the other tests
// goes through the same check in loadJson.)
#include "CheckedReads.h"
#include "NeedsBlosc.h"

#include "io/BloscContainer.h"
#include "io/Inflate.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <string>
#include <vector>

using namespace kelptest;

namespace {

bool endsWith(const std::string &name, const std::string &tail) {
    return name.size() >= tail.size() &&
           name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
}

// The binary JSON stream of a fixture, out of its container; false when it
// has none (text files) or cannot be read here.
bool binaryStream(const std::string &path, kelp::ByteBuffer &stream) {
    kelp::ByteBuffer file;
    if (kelp::readWholeFile(path, file) != kelp::ReadResult::Ok)
        return false;
    if (endsWith(path, ".gz")) {
        kelp::InflateError error;
        return kelp::gunzip(file.data(), file.size(), stream, error);
    }
    if (endsWith(path, ".sc")) {
        std::string error;
        return KELP_WITH_BLOSC &&
               kelp::unpackBloscContainer(file.data(), file.size(), stream, error);
    }
    stream = std::move(file);
    return stream.size() > 0 && stream.data()[0] == kelp::kTokMagic;
}

std::vector<std::string> fixtureNames() {
    std::vector<std::string> names;
    if (DIR *dir = opendir(KELP_FIXTURES_JSON)) {
        while (dirent *entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (endsWith(name, ".bgeo") || endsWith(name, ".bgeo.gz") || endsWith(name, ".bgeo.sc"))
                names.push_back(name);
        }
        closedir(dir);
    }
    return names;
}

} // namespace

TEST(CheckedReads, EveryFixtureGivesTheSameModelThroughCopiedReads) {
    const std::vector<std::string> names = fixtureNames();
    if (names.empty())
        GTEST_SKIP() << "no fixtures at " << KELP_FIXTURES_JSON;
    for (const std::string &name : names) {
        kelp::ByteBuffer stream;
        if (!binaryStream(std::string(KELP_FIXTURES_JSON) + "/" + name, stream))
            continue;
        for (KelpLoadFor use : {KelpLoadFor::Mesh, KelpLoadFor::Particles}) {
            Kelp like;
            like.setLoadFor(use);
            EXPECT_EQ(checkedReadDifference(stream.data(), stream.size(), like), "") << name;
        }
    }
}

TEST(CheckedReads, TruncatedFixturesFailAlikeThroughCopiedReads) {
    const std::vector<std::string> names = fixtureNames();
    if (names.empty())
        GTEST_SKIP() << "no fixtures at " << KELP_FIXTURES_JSON;
    for (const std::string &name : names) {
        kelp::ByteBuffer stream;
        if (!binaryStream(std::string(KELP_FIXTURES_JSON) + "/" + name, stream))
            continue;
        // Cuts spread over the stream, so that they fall in headers, names,
        // tokens and long arrays alike.
        const std::size_t size = stream.size();
        const std::size_t step = size / 61 + 1;
        for (std::size_t cut = 1; cut < size; cut += step) {
            const std::vector<unsigned char> part(stream.data(), stream.data() + cut);
            Kelp like;
            EXPECT_EQ(checkedReadDifference(part.data(), part.size(), like), "")
                << name << " cut at " << cut;
        }
    }
}
