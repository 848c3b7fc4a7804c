// Running out of memory at any allocation of a load or a save: the call
// returns 0 with "not enough memory" in its line, the caller's detail and the
// previous file are untouched, and nothing is thrown or leaked.
#include "CountingAllocator.h"
#include "JsonBytes.h"
#include "LoadHelpers.h"

#include <Kelp>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <utility>

namespace kelptest {
namespace {

bool mentionsMemory(const std::string &err) {
    return err.find("not enough memory") != std::string::npos;
}

// Two triangles over four points with point "N" and vertex "uv".
Kelp richDetail() {
    Kelp k;
    k.initialiseNew();
    for (int i = 0; i < 4; ++i)
        k.setPointAttrVectorValue("P", Imath::V3f(float(i), float(i * i), 0));
    for (int i = 0; i < 4; ++i)
        k.setPointAttrVectorValue("N", Imath::V3f(0, 0, 1));
    for (std::uint32_t p = 0; p < 2; ++p)
        for (std::uint32_t v = 0; v < 3; ++v) {
            k.setPolyVertexIdValue(p, v == 2 ? 2 + p : v);
            k.setVertexAttrVectorValue("uv", Imath::V3f(float(v), float(p), 0), 1);
        }
    return k;
}

std::string tempFolder() {
    char pattern[] = "/tmp/kelp-memory-XXXXXX";
    const char *made = mkdtemp(pattern);
    return made ? made : "/tmp";
}

std::string slurp(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::size_t entries(const std::string &folder) {
    std::size_t n = 0;
    if (DIR *d = opendir(folder.c_str())) {
        while (dirent *e = readdir(d))
            n += e->d_name[0] != '.';
        closedir(d);
    }
    return n;
}

// Loads bytes while the n-th allocation fails; the result and the line.
Loaded loadFailingAt(Kelp &k, const Bytes &bytes, std::size_t n, const std::string &name) {
    Loaded r;
    testing::internal::CaptureStderr();
    {
        AllocationWatch watch;
        watch.failAt(n);
        r.result = k.loadBgeoFromMemory(bytes.data(), bytes.size(), name);
    }
    r.err = testing::internal::GetCapturedStderr();
    return r;
}

std::size_t allocationsOfLoad(const Bytes &bytes, const std::string &name) {
    Kelp k;
    AllocationWatch watch;
    EXPECT_EQ(k.loadBgeoFromMemory(bytes.data(), bytes.size(), name), 1) << name;
    return watch.allocations();
}

void expectEveryAllocationMayFail(const Bytes &bytes, const std::string &name) {
    const std::size_t total = allocationsOfLoad(bytes, name);
    ASSERT_GT(total, 0u);
    Kelp whole;
    ASSERT_EQ(loadInto(whole, bytes, name).result, 1);
    for (std::size_t n = 1; n <= total; ++n) {
        Kelp k;
        const Loaded r = loadFailingAt(k, bytes, n, name);
        if (r.result == 1) {
            // An allocation the load could do without (a thread that could
            // not start): the detail is whole.
            EXPECT_EQ(k.getNumPoints(), whole.getNumPoints()) << name << ": allocation " << n;
            EXPECT_EQ(k.getPolygons().size(), whole.getPolygons().size()) << name;
            EXPECT_EQ(r.err, "") << name;
            continue;
        }
        ASSERT_EQ(r.result, 0) << name << ": allocation " << n << " of " << total;
        EXPECT_TRUE(mentionsMemory(r.err)) << name << ": allocation " << n << ": " << r.err;
        EXPECT_EQ(k.getNumPoints(), 0u) << name << ": allocation " << n;
        EXPECT_TRUE(k.getPolygons().empty()) << name << ": allocation " << n;
    }
}

Bytes savedBytes(const std::string &ext, KelpFormat format) {
    const std::string folder = tempFolder();
    const std::string path = folder + "/rich" + ext;
    Kelp k = richDetail();
    testing::internal::CaptureStderr();
    EXPECT_EQ(k.saveBgeo(path, format), 1) << path;
    testing::internal::GetCapturedStderr();
    const std::string s = slurp(path);
    std::remove(path.c_str());
    rmdir(folder.c_str());
    return Bytes(s.begin(), s.end());
}

TEST(OutOfMemory, EveryAllocationOfAClassicLoadMayFail) {
    expectEveryAllocationMayFail(savedBytes(".bgeo", KelpFormat::Classic), "rich.bgeo");
    expectEveryAllocationMayFail(savedBytes(".bgeo.gz", KelpFormat::Classic), "rich.bgeo.gz");
}

TEST(OutOfMemory, EveryAllocationOfAJsonLoadMayFail) {
    expectEveryAllocationMayFail(twoTriangles().bytes(), "two.bgeo");
    expectEveryAllocationMayFail(savedBytes(".bgeo", KelpFormat::Json), "rich.bgeo");
    expectEveryAllocationMayFail(savedBytes(".bgeo.sc", KelpFormat::Json), "rich.bgeo.sc");
}

// A load that fails for memory leaves the caller's detail as it was.
TEST(OutOfMemory, AFailedLoadKeepsTheCallersDetail) {
    const Bytes bytes = savedBytes(".bgeo", KelpFormat::Classic);
    const std::size_t total = allocationsOfLoad(bytes, "rich.bgeo");
    Kelp k = richDetail();
    const Loaded r = loadFailingAt(k, bytes, total / 2, "rich.bgeo");
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(k.getNumPoints(), 4u);
    EXPECT_EQ(k.getPolygons().size(), 2u);
}

void expectEverySaveAllocationMayFail(const std::string &ext, KelpFormat format) {
    const std::string folder = tempFolder();
    const std::string path = folder + "/frame" + ext;
    const std::string previous = "the previous frame";
    Kelp k = richDetail();
    std::size_t total = 0;
    {
        testing::internal::CaptureStderr();
        std::string name = path;
        AllocationWatch watch;
        EXPECT_EQ(k.saveBgeo(std::move(name), format), 1);
        total = watch.allocations();
        testing::internal::GetCapturedStderr();
    }
    const std::string complete = slurp(path);
    for (std::size_t n = 1; n <= total; ++n) {
        std::ofstream(path, std::ios::binary) << previous;
        int result = -1;
        testing::internal::CaptureStderr();
        {
            std::string name = path; // moved in: the copy is the caller's, not the save's
            AllocationWatch watch;
            watch.failAt(n);
            result = k.saveBgeo(std::move(name), format);
        }
        const std::string err = testing::internal::GetCapturedStderr();
        const std::string now = slurp(path);
        if (result == 1) {
            // An allocation the save could do without (a thread that could
            // not start): the file is whole.
            EXPECT_EQ(now.size(), complete.size()) << ext << ": allocation " << n;
        } else {
            EXPECT_EQ(result, 0);
            EXPECT_TRUE(mentionsMemory(err)) << ext << ": allocation " << n << ": " << err;
            EXPECT_EQ(now, previous) << ext << ": allocation " << n;
        }
        EXPECT_EQ(entries(folder), 1u) << ext << ": allocation " << n << " left a file behind";
    }
    std::remove(path.c_str());
    rmdir(folder.c_str());
}

TEST(OutOfMemory, EveryAllocationOfASaveMayFail) {
    expectEverySaveAllocationMayFail(".bgeo", KelpFormat::Classic);
    expectEverySaveAllocationMayFail(".bgeo.gz", KelpFormat::Classic);
    expectEverySaveAllocationMayFail(".geo", KelpFormat::Classic);
    expectEverySaveAllocationMayFail(".bgeo", KelpFormat::Json);
    expectEverySaveAllocationMayFail(".bgeo.sc", KelpFormat::Json);
    expectEverySaveAllocationMayFail(".geo", KelpFormat::Json);
}

#if defined(__SANITIZE_ADDRESS__)
#define KELP_ADDRESS_LIMIT_WORKS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KELP_ADDRESS_LIMIT_WORKS 0
#endif
#endif
#ifndef KELP_ADDRESS_LIMIT_WORKS
#define KELP_ADDRESS_LIMIT_WORKS 1
#endif

// The real thing: a child process under an address-space limit loads a
// file whose detail does not fit, and comes back with a failed load and its
// line, not an abort.
TEST(OutOfMemory, AnAddressSpaceLimitGivesAFailedLoad) {
    if (!KELP_ADDRESS_LIMIT_WORKS)
        GTEST_SKIP() << "the address sanitizer reserves the address space it would limit";
    // 3,000,000 empty polygons: 15 MB of file, about 120 MB of detail.
    const int polygons = 3000000;
    ClassicBytes b;
    b.header(3, polygons);
    for (int i = 0; i < 3; ++i)
        b.point(float(i), 0, 0);
    for (int left = polygons; left > 0;) {
        const int run = left > 65535 ? 65535 : left;
        b.runHeader(static_cast<std::uint16_t>(run));
        for (int k = 0; k < run; ++k)
            b.u32(0).u8('<');
        left -= run;
    }
    b.trailer();
    const std::string folder = tempFolder();
    const std::string path = folder + "/empty.bgeo";
    writeFileBytes(path, b.bytes());
    const std::string errPath = folder + "/err.txt";

    fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!freopen(errPath.c_str(), "w", stderr))
            _exit(4);
        rlimit limit;
        getrlimit(RLIMIT_AS, &limit);
        // What the process maps now, plus room for the file but not the detail.
        std::ifstream statm("/proc/self/statm");
        std::size_t pages = 0;
        statm >> pages;
        limit.rlim_cur = pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) + (48u << 20);
        setrlimit(RLIMIT_AS, &limit);
        Kelp k;
        const int result = k.loadBgeo(path);
        _exit(result == 0 ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    const std::string err = slurp(errPath);
    ASSERT_TRUE(WIFEXITED(status))
        << "the child ended by signal " << WTERMSIG(status) << ": " << err;
    EXPECT_EQ(WEXITSTATUS(status), 0) << err;
    const std::string line = "could not load " + path + ": not enough memory";
    EXPECT_EQ(err.compare(0, line.size(), line), 0) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    std::remove(path.c_str());
    std::remove(errPath.c_str());
    rmdir(folder.c_str());
}

} // namespace
} // namespace kelptest
