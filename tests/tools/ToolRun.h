// Running the kelp tool from the tests: its exit status and what it printed,
// a scratch folder, small details to save, a JSON reader for --json output
// and a model comparison.
#ifndef KELP_TESTS_TOOLS_TOOLRUN_H
#define KELP_TESTS_TOOLS_TOOLRUN_H

#include <Kelp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tooltest {

typedef Imath::Vec3<float> V3f;

inline std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// A fresh folder, removed with everything in it at the end of the test.
class ScratchDir {
public:
    ScratchDir() {
        const char *base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/kelp-tool-XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (!mkdtemp(name.data()))
            throw std::runtime_error("mkdtemp failed");
        m_path = name.data();
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::string &path() const { return m_path; }
    std::string operator/(const std::string &name) const { return m_path + "/" + name; }
    std::vector<std::string> list() const {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(m_path))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string m_path;
};

struct RunResult {
    int status = -1; // exit status, or -1 when the tool did not exit normally
    std::string out, err;
};

// Runs the tool with args in folder dir (standard input empty, standard
// output and error to files, so neither is a terminal).
inline RunResult runKelp(const std::vector<std::string> &args, const std::string &dir = ".") {
    ScratchDir capture;
    const std::string outPath = capture / "out", errPath = capture / "err";
    std::vector<std::string> all{KELP_TOOL_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &a : all)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 ||
            dup2(err, 2) < 0 || chdir(dir.c_str()) != 0)
            _exit(127);
        unsetenv("KELP_TRACE");
        execv(argv[0], argv.data());
        _exit(127);
    }
    RunResult r;
    int wstatus = 0;
    if (pid > 0 && waitpid(pid, &wstatus, 0) == pid && WIFEXITED(wstatus))
        r.status = WEXITSTATUS(wstatus);
    r.out = readFile(outPath);
    r.err = readFile(errPath);
    return r;
}

// Three points, a triangle and a two-vertex polygon, a point normal and a
// per-vertex "uv"; P of point 0 is (x, 0, 0) so frames can be told apart.
inline void buildSmall(Kelp &k, float x = 0.5f) {
    k.initialiseNew();
    k.setPointAttrVectorValue("P", V3f(x, 0.0f, 0.0f));
    k.setPointAttrVectorValue("P", V3f(1.0f, -2.25f, 0.0f));
    k.setPointAttrVectorValue("P", V3f(0.0f, 1.0f, 1e-3f));
    for (int i = 0; i < 3; ++i)
        k.setPointAttrVectorValue("N", V3f(0.0f, 0.0f, 1.0f));
    const std::uint32_t ids[] = {0, 1, 2, 2, 0};
    for (int v = 0; v < 5; ++v) {
        k.setPolyVertexIdValue(v < 3 ? 0 : 1, ids[v]);
        k.setVertexAttrVectorValue("uv", V3f(0.1f * static_cast<float>(v), 0.5f, 0.0f), 1);
    }
}

inline std::string saveSmall(const std::string &path, KelpFormat format = KelpFormat::Classic,
                             float x = 0.5f) {
    Kelp k;
    buildSmall(k, x);
    if (!k.saveBgeo(path, format))
        throw std::runtime_error("could not save " + path);
    return path;
}

// Whether two details hold the same points, polygons and attribute values.
inline void expectSameModel(const Kelp &a, const Kelp &b) {
    EXPECT_EQ(a.getNumPoints(), b.getNumPoints());
    EXPECT_EQ(a.getNumPrims(), b.getNumPrims());
    EXPECT_EQ(a.getNumVerts(), b.getNumVerts());
    ASSERT_EQ(a.getPolygons().size(), b.getPolygons().size());
    for (std::size_t p = 0; p < a.getPolygons().size(); ++p)
        EXPECT_EQ(a.getPolygons()[p].ids, b.getPolygons()[p].ids) << "polygon " << p;
    const std::vector<AttributeData> *lists[2][2] = {
        {&a.getPointAttributes(), &b.getPointAttributes()},
        {&a.getVertexAttributes(), &b.getVertexAttributes()}};
    for (auto &pair : lists) {
        ASSERT_EQ(pair[0]->size(), pair[1]->size());
        for (std::size_t i = 0; i < pair[0]->size(); ++i) {
            const AttributeData &x = (*pair[0])[i], &y = (*pair[1])[i];
            EXPECT_EQ(x.name, y.name);
            EXPECT_EQ(x.type, y.type) << x.name;
            EXPECT_EQ(x.float_data, y.float_data) << x.name;
            EXPECT_EQ(x.int_data, y.int_data) << x.name;
            EXPECT_EQ(x.vector_data, y.vector_data) << x.name;
        }
    }
}

// ---- a small JSON reader, strict about syntax ----------------------------

struct Json {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> fields;

    const Json &operator[](const std::string &key) const {
        auto it = fields.find(key);
        if (kind != Object || it == fields.end())
            throw std::runtime_error("no field " + key);
        return it->second;
    }
    const Json &operator[](std::size_t i) const {
        if (kind != Array || i >= items.size())
            throw std::runtime_error("no item " + std::to_string(i));
        return items[i];
    }
};

class JsonParser {
public:
    explicit JsonParser(const std::string &text) : m_text(text) {}
    // The document; throws on any syntax error or trailing bytes.
    Json parse() {
        Json v = value();
        blanks();
        if (m_pos != m_text.size())
            fail("bytes after the document");
        return v;
    }

private:
    [[noreturn]] void fail(const std::string &what) {
        throw std::runtime_error("JSON: " + what + " at byte " + std::to_string(m_pos));
    }
    void blanks() {
        while (m_pos < m_text.size() &&
               std::string(" \t\r\n").find(m_text[m_pos]) != std::string::npos)
            ++m_pos;
    }
    bool take(char c) {
        blanks();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    bool word(const char *w) {
        const std::string s(w);
        if (m_text.compare(m_pos, s.size(), s) != 0)
            return false;
        m_pos += s.size();
        return true;
    }
    std::string string() {
        if (!take('"'))
            fail("expected a string");
        std::string out;
        while (true) {
            if (m_pos >= m_text.size())
                fail("unterminated string");
            const unsigned char c = static_cast<unsigned char>(m_text[m_pos++]);
            if (c == '"')
                return out;
            if (c < 0x20)
                fail("control character in a string");
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (m_pos >= m_text.size())
                fail("unterminated escape");
            const char e = m_text[m_pos++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                out += e;
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'u': {
                if (m_pos + 4 > m_text.size())
                    fail("short \\u escape");
                const std::string hex = m_text.substr(m_pos, 4);
                if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                    fail("bad \\u escape");
                m_pos += 4;
                const unsigned long code = std::stoul(hex, nullptr, 16);
                if (code >= 0x80)
                    fail("the tests expect only ASCII escapes");
                out += static_cast<char>(code);
                break;
            }
            default:
                fail("bad escape");
            }
        }
    }
    Json value() {
        blanks();
        Json v;
        if (m_pos >= m_text.size())
            fail("expected a value");
        const char c = m_text[m_pos];
        if (c == '{') {
            ++m_pos;
            v.kind = Json::Object;
            if (take('}'))
                return v;
            do {
                blanks();
                std::string key = string();
                if (!take(':'))
                    fail("expected ':'");
                if (v.fields.count(key))
                    fail("duplicate key " + key);
                v.fields[key] = value();
            } while (take(','));
            if (!take('}'))
                fail("expected '}'");
        } else if (c == '[') {
            ++m_pos;
            v.kind = Json::Array;
            if (take(']'))
                return v;
            do
                v.items.push_back(value());
            while (take(','));
            if (!take(']'))
                fail("expected ']'");
        } else if (c == '"') {
            v.kind = Json::String;
            v.text = string();
        } else if (word("true") || word("false")) {
            v.kind = Json::Bool;
            v.boolean = m_text[m_pos - 1] == 'e' && m_text[m_pos - 2] == 'u';
        } else if (word("null")) {
            v.kind = Json::Null;
        } else {
            // -? (0 | [1-9][0-9]*) (. [0-9]+)? ([eE] [+-]? [0-9]+)?
            const std::size_t start = m_pos;
            auto digits = [&] {
                const std::size_t from = m_pos;
                while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9')
                    ++m_pos;
                return m_pos - from;
            };
            if (m_pos < m_text.size() && m_text[m_pos] == '-')
                ++m_pos;
            const std::size_t intStart = m_pos;
            const std::size_t n = digits();
            if (n == 0 || (n > 1 && m_text[intStart] == '0'))
                fail("bad number");
            if (m_pos < m_text.size() && m_text[m_pos] == '.') {
                ++m_pos;
                if (digits() == 0)
                    fail("bad fraction");
            }
            if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
                ++m_pos;
                if (m_pos < m_text.size() && (m_text[m_pos] == '+' || m_text[m_pos] == '-'))
                    ++m_pos;
                if (digits() == 0)
                    fail("bad exponent");
            }
            v.kind = Json::Number;
            v.number = std::stod(m_text.substr(start, m_pos - start));
        }
        return v;
    }

    const std::string &m_text;
    std::size_t m_pos = 0;
};

inline Json parseJson(const std::string &text) {
    return JsonParser(text).parse();
}

} // namespace tooltest

#endif
