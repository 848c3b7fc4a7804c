// Loads read their bytes through a window over the stream (the file, the
// inflated gzip stream, the decompressed Blosc chunks). Whatever the window,
// a load gives the same detail, or fails with the same line: here every
// real file and every corpus file is read through windows of 1 to 64 bytes,
// cut at window boundaries, and damaged in the middle of its stream.
#include "ClassicBytes.h"
#include "LoadHelpers.h"
#include "LoadStream.h"
#include "ModelCompare.h"

#include <Kelp>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using kelptest::Bytes;

namespace {

const std::size_t kWhole = std::size_t(64) << 20; // more than any test file

struct Outcome {
    int result = -1;
    std::string err;
    Kelp model;
};

Outcome loadThrough(const Bytes &bytes, const std::string &name, std::size_t window) {
    Outcome o;
    testing::internal::CaptureStderr();
    o.result = kelp::loadMemoryThroughWindow(o.model, bytes.data(), bytes.size(), name, window);
    o.err = testing::internal::GetCapturedStderr();
    return o;
}

Outcome loadFileThrough(const std::string &path, std::size_t window) {
    Outcome o;
    testing::internal::CaptureStderr();
    o.result = kelp::loadFileThroughWindow(o.model, path, window);
    o.err = testing::internal::GetCapturedStderr();
    return o;
}

struct TestFile {
    std::string path, name;
    Bytes bytes;
};

// The real files and the fuzzers' corpora, those that are there.
std::vector<TestFile> everyFile() {
    std::vector<TestFile> files;
    for (const char *dir : {KELP_FIXTURES_CLASSIC, KELP_FIXTURES_JSON, KELP_FUZZ_CORPUS_CLASSIC,
                            KELP_FUZZ_CORPUS_JSON}) {
        std::error_code ec;
        for (const auto &entry : std::filesystem::directory_iterator(dir, ec)) {
            const std::string name = entry.path().filename().string();
            if (!entry.is_regular_file() || name.find("geo") == std::string::npos)
                continue;
            files.push_back(
                {entry.path().string(), name, kelptest::readFileBytes(entry.path().string())});
        }
    }
    return files;
}

void expectSame(const Outcome &whole, const Outcome &got, const std::string &what) {
    EXPECT_EQ(got.result, whole.result) << what << ": " << got.err;
    EXPECT_EQ(got.err, whole.err) << what;
    EXPECT_EQ(kelptest::modelDifference(got.model, whole.model), "") << what;
}

std::uint64_t u64be(const Bytes &b, std::size_t at) {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v = v << 8 | b[at + i];
    return v;
}

// A classic particle file of n points with a vector and an integer
// attribute: many windows long.
Bytes particles(std::uint32_t n) {
    kelptest::ClassicBytes b;
    b.header(n, 0, 2).attr("Cd", 3, 5, {1, 1, 1}).attr("id", 1, 1, {0});
    for (std::uint32_t i = 0; i < n; ++i)
        b.point(float(i), float(i % 7), -float(i), 1)
            .f32(0.5f)
            .f32(float(i & 255) / 255)
            .f32(0)
            .i32(static_cast<std::int32_t>(i));
    return b.trailer().bytes();
}

} // namespace

TEST(StreamWindow, EveryFileLoadsTheSameThroughTinyWindows) {
    const std::vector<TestFile> files = everyFile();
    if (files.empty())
        GTEST_SKIP() << "no test files found";
    for (const TestFile &f : files) {
        const Outcome whole = loadThrough(f.bytes, f.name, kWhole);
        const bool small = f.bytes.size() < 40000;
        const std::vector<std::size_t> windows =
            small ? std::vector<std::size_t>{1, 2, 3, 4, 5, 7, 8, 13, 16, 17, 31, 32, 63, 64}
                  : std::vector<std::size_t>{1, 7, 64, 4096};
        for (std::size_t w : windows)
            expectSame(whole, loadThrough(f.bytes, f.name, w),
                       f.name + " through a window of " + std::to_string(w));
        // Read from the file itself, not from memory (messages then name
        // the path).
        expectSame(loadThrough(f.bytes, f.path, kWhole), loadFileThrough(f.path, small ? 3 : 64),
                   f.path);
    }
}

TEST(StreamWindow, CutsAtWindowBoundariesFailAsInOneRead) {
    const std::vector<TestFile> files = everyFile();
    if (files.empty())
        GTEST_SKIP() << "no test files found";
    for (const TestFile &f : files) {
        if (f.bytes.size() > 20000)
            continue;
        const std::size_t w = f.bytes.size() <= 2048 ? 16 : 256;
        for (std::size_t edge = 0; edge < f.bytes.size(); edge += w) {
            for (std::size_t cut : {edge, edge + 1, edge + w - 1}) {
                if (cut >= f.bytes.size())
                    continue;
                const Bytes part(f.bytes.begin(), f.bytes.begin() + cut);
                const Outcome whole = loadThrough(part, f.name, kWhole);
                const Outcome windowed = loadThrough(part, f.name, w);
                const std::string what = f.name + " cut at " + std::to_string(cut);
                expectSame(whole, windowed, what);
                if (windowed.result == 0) {
                    EXPECT_EQ(kelptest::lineCount(windowed.err), 1) << what << ": " << windowed.err;
                }
            }
        }
    }
}

TEST(StreamWindow, ADamagedGzipStreamFailsAndLeavesTheDetail) {
    const Bytes plain = particles(20000);
    const Bytes gz = kelptest::gzipBytes(plain);
    Kelp k;
    ASSERT_EQ(kelp::loadMemoryThroughWindow(k, plain.data(), plain.size(), "p.bgeo", 4096), 1);
    ASSERT_EQ(k.getNumPoints(), 20000u);
    const Kelp before = k;
    for (std::size_t at : {gz.size() / 3, gz.size() / 2, gz.size() - 6}) {
        Bytes bad = gz;
        bad[at] ^= 0x5A;
        for (std::size_t w : {std::size_t(16), std::size_t(4096), kWhole}) {
            testing::internal::CaptureStderr();
            const int result =
                kelp::loadMemoryThroughWindow(k, bad.data(), bad.size(), "p.bgeo.gz", w);
            const std::string err = testing::internal::GetCapturedStderr();
            const std::string what = "byte " + std::to_string(at) + ", window " + std::to_string(w);
            EXPECT_EQ(result, 0) << what;
            EXPECT_NE(err.find("could not unzip file exiting: "), std::string::npos)
                << what << ": " << err;
            EXPECT_EQ(kelptest::lineCount(err), 1) << what << ": " << err;
            EXPECT_EQ(kelptest::modelDifference(k, before), "") << what;
        }
    }
    // The checksum after the last byte the parser needs is checked too.
    Bytes crc = gz;
    crc[gz.size() - 8] ^= 0x01;
    testing::internal::CaptureStderr();
    EXPECT_EQ(kelp::loadMemoryThroughWindow(k, crc.data(), crc.size(), "p.bgeo.gz", 64), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("incorrect data check"),
              std::string::npos);
    // A cut stream ends early, wherever it is cut.
    for (std::size_t cut : {std::size_t(10), gz.size() / 2, gz.size() - 1}) {
        const Bytes part(gz.begin(), gz.begin() + cut);
        const Outcome o = loadThrough(part, "p.bgeo.gz", 64);
        EXPECT_EQ(o.result, 0);
        EXPECT_NE(o.err.find("could not unzip file exiting: "), std::string::npos) << o.err;
    }
}

TEST(StreamWindow, GzipMembersJoinAcrossWindows) {
    const Bytes plain = particles(3000);
    const std::size_t half = plain.size() / 2 + 3;
    Bytes two = kelptest::gzipBytes(Bytes(plain.begin(), plain.begin() + half));
    const Bytes second = kelptest::gzipBytes(Bytes(plain.begin() + half, plain.end()));
    two.insert(two.end(), second.begin(), second.end());
    const Outcome whole = loadThrough(plain, "p.bgeo", kWhole);
    ASSERT_EQ(whole.result, 1) << whole.err;
    for (std::size_t w : {1, 5, 64, 1 << 20})
        expectSame(whole, loadThrough(two, "p.bgeo.gz", w), "window " + std::to_string(w));
}

TEST(StreamWindow, ADamagedBloscChunkInTheMiddleFailsWithItsNumber) {
    const Bytes good = kelptest::readFileBytes(std::string(KELP_FUZZ_CORPUS_JSON) +
                                               "/two_triangles_3chunks.bgeo.sc");
    ASSERT_GT(good.size(), 40u);
    const Outcome whole = loadThrough(good, "t.bgeo.sc", kWhole);
    if (whole.result == 0 && whole.err.find("without Blosc") != std::string::npos)
        GTEST_SKIP() << "built without Blosc";
    ASSERT_EQ(whole.result, 1) << whole.err;
    const std::size_t n = good.size();
    const std::size_t indexBegin = n - 12 - static_cast<std::size_t>(u64be(good, n - 12));
    const std::size_t chunk1 = 12 + static_cast<std::size_t>(u64be(good, indexBegin));
    Bytes bad = good;
    bad[chunk1 + 12] ^= 0x01; // chunk 1's own compressed size
    for (std::size_t w : {1, 3, 64, 1 << 20}) {
        const Outcome o = loadThrough(bad, "t.bgeo.sc", w);
        EXPECT_EQ(o.result, 0);
        EXPECT_NE(o.err.find("Blosc chunk 1 at byte " + std::to_string(chunk1) + " says"),
                  std::string::npos)
            << o.err;
        EXPECT_EQ(kelptest::lineCount(o.err), 1) << o.err;
    }
}

TEST(StreamWindow, ALongParticleFileIsTheSameThroughAnyWindow) {
    const Bytes plain = particles(50000);
    const Outcome whole = loadThrough(plain, "p.bgeo", kWhole);
    ASSERT_EQ(whole.result, 1) << whole.err;
    const Bytes gz = kelptest::gzipBytes(plain);
    for (std::size_t w : {1, 31, 4096, 1 << 20}) {
        expectSame(whole, loadThrough(plain, "p.bgeo", w), "plain, window " + std::to_string(w));
        expectSame(whole, loadThrough(gz, "p.bgeo.gz", w), "gzip, window " + std::to_string(w));
    }
}
