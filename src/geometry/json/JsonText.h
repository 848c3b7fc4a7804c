// The text form of the JSON-based geometry format (".geo"): ordinary JSON,
// read into the same tokens as the binary byte stream, so that one document
// reader serves both forms. Text has no uniform arrays; its arrays of
// numbers are plain arrays, which the document reader takes either way.
//
// The lexer checks the grammar as it goes (separators, keys of maps, the
// nesting of arrays and maps, nothing but blanks after the document) and
// never reads past the bytes it is given. Strings without escapes are views
// into the input; strings with escapes are decoded once into blocks the
// lexer owns, so that every view it hands out stays valid while it lives.
#ifndef KELP_GEOMETRY_JSON_JSONTEXT_H
#define KELP_GEOMETRY_JSON_JSONTEXT_H

#include "io/ByteCursor.h"
#include "json/JsonTokens.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kelp {

class TextLexer {
public:
    // The next token from the cursor's position; false on failure, with
    // reason() and the byte where() it refers to.
    bool next(ByteCursor &cur, Token &token);
    // After the document's last token: only blanks may follow.
    bool finish(ByteCursor &cur);

    const std::string &reason() const { return m_reason; }
    std::size_t where() const { return m_where; }

private:
    // What the grammar allows next.
    enum class Expect : std::uint8_t {
        Value,        // a value (the document, after ',' in an array, after ':')
        ValueOrClose, // after '[': a value or ']'
        KeyOrClose,   // after '{': a key or '}'
        Key,          // after ',' in a map
        Colon,        // after a key
        Separator,    // after a value: ',' or the end of its container
        Done          // after the document
    };

    bool value(ByteCursor &cur, Token &token);
    bool string(ByteCursor &cur, Token &token);
    bool stringEnd(const ByteCursor &cur, const unsigned char *first, const unsigned char *&close,
                   bool &escaped);
    bool decodeString(const ByteCursor &cur, const unsigned char *first, const unsigned char *close,
                      char *&o);
    bool unicodeEscape(const unsigned char *&q, const unsigned char *close, std::size_t escapeAt,
                       char *&o);
    bool number(ByteCursor &cur, Token &token);
    bool word(ByteCursor &cur, Token &token);
    bool open(Token &token, bool map);
    bool close(ByteCursor &cur, Token &token);
    bool endsEarly(std::size_t at);
    bool fail(const std::string &reason, std::size_t at);
    // Room for a decoded string of at most n bytes.
    char *reserve(std::size_t n);

    Expect m_expect = Expect::Value;
    // The open containers, innermost last: 1 for a map, 0 for an array.
    std::vector<std::uint8_t> m_open;
    std::string m_reason;
    std::size_t m_where = 0;
    // Decoded strings: blocks of kBlock bytes shared by short strings, one
    // block each for long ones; never more than the text's own size.
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char *m_free = nullptr;
    std::size_t m_left = 0;
};

} // namespace kelp

#endif
