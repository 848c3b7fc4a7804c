// Saves that cannot complete: result 0, one line on standard error, no
// partial file, and the earlier file of that name untouched.
#include "SaveTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/mount.h>
#include <unistd.h>
#endif

using namespace savetest;

namespace {

struct Outcome {
    int result;
    std::string err;
};

Outcome save(Kelp &k, const std::string &path) {
    testing::internal::CaptureStderr();
    Outcome o;
    o.result = k.saveBgeo(path);
    o.err = testing::internal::GetCapturedStderr();
    return o;
}

// A detail of n points and no polygons: 41 + 16 n bytes in binary.
[[maybe_unused]] void fillPoints(Kelp &k, std::uint32_t n) {
    k.initialiseNew();
    for (std::uint32_t i = 0; i < n; ++i)
        k.setPointAttrVectorValue("P", V3f(float(i), float(i) * 0.5f, -float(i)));
}

// The last line of what went to standard error.
std::string lastLine(const std::string &err) {
    std::string text = err;
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text.substr(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
}

TEST(SaveFailure, MissingFolder) {
    ScratchDir dir;
    Kelp k;
    fillTriangle(k);
    const std::string path = dir / "no/such/folder/cube.bgeo";
    const Outcome o = save(k, path);
    EXPECT_EQ(o.result, 0);
    EXPECT_EQ(o.err, "BGEO code saving file as: bgeo\n"
                     "could not open file for writting: " +
                         path + " (No such file or directory)\n");
    EXPECT_TRUE(dir.list().empty());
}

TEST(SaveFailure, TargetIsAFolder) {
    ScratchDir dir;
    std::filesystem::create_directory(dir / "cube.bgeo");
    writeFile(dir / "cube.bgeo/inside", "keep");
    Kelp k;
    fillTriangle(k);
    const Outcome o = save(k, dir / "cube.bgeo");
    EXPECT_EQ(o.result, 0);
    EXPECT_NE(lastLine(o.err).find("could not open file for writting: "), std::string::npos);
    EXPECT_EQ(dir.list(), std::vector<std::string>{"cube.bgeo"});
    EXPECT_EQ(readFile(dir / "cube.bgeo/inside"), "keep");
}

// Devices, links, mounts and modes: what Linux has.
#ifndef _WIN32
TEST(SaveFailure, FullDeviceThroughALink) {
    if (access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "no writable /dev/full";
    ScratchDir dir;
    for (const char *name : {"full.bgeo", "full.bgeo.gz", "full.geo"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(symlink("/dev/full", (dir / name).c_str()), 0);
        Kelp k;
        fillTriangle(k);
        const Outcome o = save(k, dir / name);
        EXPECT_EQ(o.result, 0);
        EXPECT_EQ(lastLine(o.err),
                  "could not write file: " + (dir / name) + " (No space left on device)");
    }
    // The links are left alone and nothing else appears beside them.
    EXPECT_EQ(dir.list(), (std::vector<std::string>{"full.bgeo", "full.bgeo.gz", "full.geo"}));
    struct stat st;
    ASSERT_EQ(stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}
#endif

TEST(SaveFailure, BadDetailsAreRefusedAndLeaveTheEarlierFile) {
    ScratchDir dir;
    const std::string path = dir / "cube.bgeo";
    writeFile(path, "earlier");
    {
        // A polygon over a point the detail does not have: found while writing.
        Kelp k;
        fillTriangle(k);
        k.setPolyVertexIdValue(0, 3);
        const Outcome o = save(k, path);
        EXPECT_EQ(o.result, 0);
        EXPECT_EQ(lastLine(o.err),
                  "could not save file: " + path +
                      ": a polygon names a point beyond the 3 points of the detail");
    }
    {
        // A name longer than a file can hold: refused before anything is created.
        Kelp k;
        fillTriangle(k);
        for (int i = 0; i < 3; ++i)
            k.setPointAttrVectorValue(std::string(32768, 'a'), V3f(0, 0, 1));
        const Outcome o = save(k, path);
        EXPECT_EQ(o.result, 0);
        EXPECT_NE(o.err.find("could not save file: " + path + ": point attribute 1 \""),
                  std::string::npos)
            << o.err;
        EXPECT_NE(o.err.find("longer than the 32767 a file can hold"), std::string::npos);
    }
    {
        // Fewer normals than points.
        Kelp k;
        fillTriangle(k);
        k.setPointAttrVectorValue("N", V3f(0, 0, 1));
        k.setPointAttrVectorValue("P", V3f(1, 1, 1));
        k.setPointAttrVectorValue("P", V3f(1, 1, 2));
        const Outcome o = save(k, path);
        EXPECT_EQ(o.result, 0);
        EXPECT_NE(o.err.find("fewer values than points"), std::string::npos) << o.err;
    }
    EXPECT_EQ(readFile(path), "earlier");
    EXPECT_EQ(dir.list(), std::vector<std::string>{"cube.bgeo"});
}

TEST(SaveFailure, LongestNameIsWritten) {
    ScratchDir dir;
    Kelp k;
    fillTriangle(k);
    const std::string name(32767, 'a');
    for (int i = 0; i < 3; ++i)
        k.setPointAttrVectorValue(name, V3f(0, 0, 1));
    EXPECT_EQ(save(k, dir / "cube.bgeo").result, 1);
    const std::string bytes = readFile(dir / "cube.bgeo");
    EXPECT_EQ(hexOf(bytes.substr(41, 2)), "7F FF");
    EXPECT_EQ(bytes.substr(43, name.size()), name);
}

#ifndef _WIN32
// A small file system of its own (needs the right to mount; skipped without).
class SmallDisk {
public:
    explicit SmallDisk(const std::string &dir, const char *options) : m_dir(dir) {
        m_mounted = mount("tmpfs", dir.c_str(), "tmpfs", 0, options) == 0;
        m_why = m_mounted ? "" : std::strerror(errno);
    }
    ~SmallDisk() {
        if (m_mounted)
            umount2(m_dir.c_str(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    const std::string &why() const { return m_why; }
    bool makeReadOnly() {
        return mount(nullptr, m_dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    std::string m_dir;
    bool m_mounted = false;
    std::string m_why;
};

TEST(SaveFailure, FullDisk) {
    ScratchDir dir;
    const std::string disk = dir / "disk";
    std::filesystem::create_directory(disk);
    SmallDisk small(disk, "size=64k");
    if (!small.mounted())
        GTEST_SKIP() << "cannot mount a small file system: " << small.why();
    for (const char *name : {"cube.bgeo", "cube.bgeo.gz", "cube.geo"}) {
        SCOPED_TRACE(name);
        const std::string path = disk + "/" + name;
        Kelp small3;
        fillTriangle(small3);
        ASSERT_EQ(save(small3, path).result, 1);
        const std::string earlier = readFile(path);

        Kelp big; // 1.6 MB in binary; random-looking enough not to compress to 64k
        fillPoints(big, 100000);
        const Outcome o = save(big, path);
        EXPECT_EQ(o.result, 0);
        EXPECT_NE(lastLine(o.err).find("(No space left on device)"), std::string::npos) << o.err;
        EXPECT_EQ(readFile(path), earlier);
        EXPECT_EQ(ScratchDir::listDir(disk), std::vector<std::string>{name});
        std::filesystem::remove(path);
    }
}

TEST(SaveFailure, ReadOnlyFolder) {
    ScratchDir dir;
    const std::string folder = dir / "ro";
    std::filesystem::create_directory(folder);
    const std::string path = folder + "/cube.bgeo";
    Kelp k;
    fillTriangle(k);
    SmallDisk small(folder, "size=1m");
    if (small.mounted()) {
        ASSERT_EQ(save(k, path).result, 1);
        ASSERT_TRUE(small.makeReadOnly());
    } else {
        // Without the right to mount: an ordinary folder without write
        // permission, which holds only for a user other than root.
        ASSERT_EQ(save(k, path).result, 1);
        chmod(folder.c_str(), 0555);
        if (access(folder.c_str(), W_OK) == 0) {
            chmod(folder.c_str(), 0755);
            GTEST_SKIP() << "cannot make a folder read-only for this user";
        }
    }
    const std::string earlier = readFile(path);
    Kelp other;
    fillPoints(other, 10);
    const Outcome o = save(other, path);
    EXPECT_EQ(o.result, 0);
    EXPECT_NE(lastLine(o.err).find("could not open file for writting: " + path + " ("),
              std::string::npos)
        << o.err;
    EXPECT_EQ(readFile(path), earlier);
    EXPECT_EQ(ScratchDir::listDir(folder), std::vector<std::string>{"cube.bgeo"});
    chmod(folder.c_str(), 0755);
}
#endif

TEST(SaveFailure, SuccessReplacesTheEarlierFileAndLeavesNothingElse) {
    ScratchDir dir;
    const std::string path = dir / "cube.bgeo";
    writeFile(path, std::string(100000, 'x'));
    Kelp k;
    fillTriangle(k);
    ASSERT_EQ(save(k, path).result, 1);
    EXPECT_EQ(readFile(path).size(), 112u);
    EXPECT_EQ(dir.list(), std::vector<std::string>{"cube.bgeo"});
#ifndef _WIN32
    // Through a link: the file it points to is replaced, the link stays.
    ASSERT_EQ(symlink("cube.bgeo", (dir / "link.bgeo").c_str()), 0);
    Kelp points;
    fillPoints(points, 2);
    ASSERT_EQ(save(points, dir / "link.bgeo").result, 1);
    struct stat st;
    ASSERT_EQ(lstat((dir / "link.bgeo").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readFile(path).size(), 41u + 32u + 2u);
    EXPECT_EQ(dir.list(), (std::vector<std::string>{"cube.bgeo", "link.bgeo"}));
#endif
}

} // namespace
