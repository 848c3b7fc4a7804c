// Everything the writer emits uses only what Houdini's own files use: the
// keys, the token bytes and the uniform element types found by walking the
// real files' token streams.
#include "JsonSaveHelpers.h"

#include "io/BloscContainer.h"
#include "io/Inflate.h"
#include "json/JsonSaver.h"
#include "json/JsonTokens.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <set>
#include <string>
#include <vector>

using namespace kelptest;

namespace {

struct Vocabulary {
    std::set<std::string> keys;        // map keys and strings in key places of key/value lists
    std::set<int> tokens;              // token bytes as they stand in the stream
    std::set<int> elements;            // element types of uniform arrays
    std::set<std::string> keyElements; // key, then the element type of its uniform value
};

// Walks one value (the reader is before its first token); `key` is the key
// the value belongs to, if any.
bool walk(kelp::TokenReader &reader, const unsigned char *base, Vocabulary &v,
          const std::string &key, int depth) {
    kelp::Token t;
    if (!reader.next(t) || depth > 200)
        return false;
    v.tokens.insert(base[t.offset]);
    if (t.kind == kelp::TokenKind::Uniform) {
        v.elements.insert(t.element);
        v.keyElements.insert(key + "/" + std::to_string(t.element));
        return true;
    }
    const bool map = t.kind == kelp::TokenKind::MapBegin;
    if (!map && t.kind != kelp::TokenKind::ArrayBegin)
        return true;
    std::string pending; // the key of a key/value list waiting for its value
    for (std::size_t at = 0;; ++at) {
        kelp::Token p;
        if (!reader.peek(p))
            return false;
        if (p.kind == kelp::TokenKind::MapEnd || p.kind == kelp::TokenKind::ArrayEnd) {
            reader.next(p);
            v.tokens.insert(base[p.offset]);
            return true;
        }
        const bool keyPlace = at % 2 == 0;
        if (keyPlace && p.kind == kelp::TokenKind::String) {
            reader.next(p);
            v.tokens.insert(base[p.offset]);
            pending = std::string(p.s);
            // A key of a list only if a value follows.
            kelp::Token after;
            if (!reader.peek(after))
                return false;
            if (after.kind != kelp::TokenKind::ArrayEnd)
                v.keys.insert(pending);
            continue;
        }
        if (map && keyPlace)
            return false;
        if (!walk(reader, base, v, keyPlace ? std::string() : pending, depth + 1))
            return false;
    }
}

Vocabulary vocabularyOf(const unsigned char *data, std::size_t size) {
    Vocabulary v;
    kelp::TokenReader reader(data, size);
    EXPECT_TRUE(reader.start());
    EXPECT_TRUE(walk(reader, data, v, std::string(), 0)) << reader.error();
    return v;
}

std::vector<unsigned char> documentOf(const std::string &path) {
    std::vector<unsigned char> bytes = readWhole(path);
    kelp::ByteBuffer out;
    if (bytes.size() > 4 && bytes[0] == 0x1F && bytes[1] == 0x8B) {
        kelp::InflateError problem;
        EXPECT_TRUE(kelp::gunzip(bytes.data(), bytes.size(), out, problem));
    } else if (bytes.size() > 4 && std::memcmp(bytes.data(), "scf1", 4) == 0) {
        std::string error;
        EXPECT_TRUE(kelp::unpackBloscContainer(bytes.data(), bytes.size(), out, error)) << error;
    } else {
        return bytes;
    }
    return std::vector<unsigned char>(out.data(), out.data() + out.size());
}

std::vector<std::string> binaryFixtures() {
    std::vector<std::string> names;
    if (DIR *dir = ::opendir(KELP_FIXTURES_JSON)) {
        while (dirent *e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name.find(".bgeo") != std::string::npos && !passOverWithoutBlosc(name))
                names.push_back(std::string(KELP_FIXTURES_JSON) + "/" + name);
        }
        ::closedir(dir);
    }
    return names;
}

void merge(Vocabulary &into, const Vocabulary &from) {
    into.keys.insert(from.keys.begin(), from.keys.end());
    into.tokens.insert(from.tokens.begin(), from.tokens.end());
    into.elements.insert(from.elements.begin(), from.elements.end());
    into.keyElements.insert(from.keyElements.begin(), from.keyElements.end());
}

template <class T>
void expectSubset(const std::set<T> &mine, const std::set<T> &real, const char *what) {
    for (const T &item : mine)
        EXPECT_TRUE(real.count(item)) << what << " " << item << " is in no real file";
}

} // namespace

TEST(JsonVocabulary, WriterUsesOnlyKeysTokensAndElementTypesOfRealFiles) {
    KELP_NEEDS_BLOSC(); // several of the real files are .bgeo.sc
    const std::vector<std::string> fixtures = binaryFixtures();
    if (fixtures.empty())
        GTEST_SKIP() << "no real files in " << KELP_FIXTURES_JSON;
    Vocabulary real;
    for (const std::string &path : fixtures) {
        SCOPED_TRACE(path);
        const std::vector<unsigned char> doc = documentOf(path);
        merge(real, vocabularyOf(doc.data(), doc.size()));
    }

    // The walk found the real files' structure.
    for (const char *key : {"fileversion", "pointref", "rawpagedata", "s_v", "r_v", "n_v"})
        EXPECT_TRUE(real.keys.count(key)) << key;
    EXPECT_TRUE(real.keyElements.count("indices/" + std::to_string(kelp::kTokInt32)));

    // What the writer emits: the mesh export's triangle, the real files
    // loaded and written again, and a mixed-polygon mesh.
    Vocabulary mine;
    kelp::JsonStamp stamp;
    std::vector<unsigned char> doc;
    std::string error;
    std::vector<Kelp> details(1);
    buildTriangle(details[0]);
    for (const std::string &path : fixtures) {
        details.emplace_back();
        testing::internal::CaptureStderr();
        const bool loaded = details.back().loadBgeo(path) == 1;
        testing::internal::GetCapturedStderr();
        if (!loaded)
            details.pop_back();
    }
    EXPECT_GT(details.size(), fixtures.size() / 2);
    for (const Kelp &k : details) {
        ASSERT_TRUE(kelp::writeJsonDocument(k, true, stamp, doc, error)) << error;
        merge(mine, vocabularyOf(doc.data(), doc.size()));
    }
    // The loop saw what matters: keys of every part of a document.
    for (const char *key : {"fileversion", "info", "topology", "pointattributes",
                            "vertexattributes", "rawpagedata", "s_v", "r_v"})
        EXPECT_TRUE(mine.keys.count(key)) << key;

    expectSubset(mine.keys, real.keys, "key");
    expectSubset(mine.tokens, real.tokens, "token byte");
    expectSubset(mine.elements, real.elements, "uniform element type");
    expectSubset(mine.keyElements, real.keyElements, "key/element pair");
}
