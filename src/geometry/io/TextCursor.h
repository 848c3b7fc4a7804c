// One bounded read position over text held in memory, split into words.
// A word is a run of bytes other than blanks (space, tab, CR, LF, vertical
// tab, form feed) and the four brackets ( ) [ ], each bracket a word of its
// own, or a quoted string ("..." with \" and \\ inside). Nothing is read
// past the end; numbers are read without the process locale.
#ifndef KELP_GEOMETRY_TEXTCURSOR_H
#define KELP_GEOMETRY_TEXTCURSOR_H

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace kelp {

struct TextWord {
    const char *text = nullptr;
    std::size_t size = 0;
    std::size_t offset = 0; // where the word starts
    bool quoted = false;    // text is the inside of the quotes, escapes kept
    bool bad = false;       // a quoted string without its closing quote

    bool empty() const { return text == nullptr; }
    bool is(const char *word) const {
        return !quoted && size == std::strlen(word) && std::memcmp(text, word, size) == 0;
    }
    bool isChar(char c) const { return !quoted && size == 1 && text[0] == c; }
    // The word as a string; escapes of a quoted word undone.
    std::string str() const {
        if (!quoted)
            return std::string(text, size);
        std::string out;
        out.reserve(size);
        for (std::size_t i = 0; i < size; ++i) {
            if (text[i] == '\\' && i + 1 < size)
                ++i;
            out += text[i];
        }
        return out;
    }
    // The word as it appears, cut short for messages.
    std::string shown() const {
        if (empty())
            return "the end of the text";
        const std::size_t n = size < 40 ? size : 40;
        std::string out = "\"" + std::string(text, n) + (n < size ? "...\"" : "\"");
        for (char &c : out)
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F)
                c = '?';
        return out;
    }
};

class TextCursor {
public:
    TextCursor(const unsigned char *data, std::size_t size)
        : m_data(reinterpret_cast<const char *>(data)), m_size(size) {}

    std::size_t offset() const { return m_pos; }
    std::size_t size() const { return m_size; }
    std::size_t remaining() const { return m_size - m_pos; }

    static bool blank(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    }
    static bool bracket(char c) { return c == '(' || c == ')' || c == '[' || c == ']'; }

    void skipBlanks() {
        while (m_pos < m_size && blank(m_data[m_pos]))
            ++m_pos;
    }
    // True when only blanks are left.
    bool atEnd() {
        skipBlanks();
        return m_pos == m_size;
    }

    // The next word, or an empty word at the end of the text.
    TextWord next() {
        skipBlanks();
        TextWord w;
        if (m_pos == m_size)
            return w;
        w.offset = m_pos;
        const char c = m_data[m_pos];
        if (bracket(c)) {
            w.text = m_data + m_pos++;
            w.size = 1;
            return w;
        }
        if (c == '"') {
            std::size_t i = m_pos + 1;
            while (i < m_size && m_data[i] != '"')
                i += m_data[i] == '\\' && i + 1 < m_size ? 2 : 1;
            w.quoted = true;
            w.text = m_data + m_pos + 1;
            if (i >= m_size) {
                w.bad = true;
                w.size = m_size - m_pos - 1;
                m_pos = m_size;
                return w;
            }
            w.size = i - m_pos - 1;
            m_pos = i + 1;
            return w;
        }
        std::size_t i = m_pos;
        while (i < m_size && !blank(m_data[i]) && !bracket(m_data[i]))
            ++i;
        w.text = m_data + m_pos;
        w.size = i - m_pos;
        m_pos = i;
        return w;
    }

    // The bytes from here to the end, without the blanks that end them.
    void restTrimmed(const char *&text, std::size_t &size) {
        std::size_t end = m_size;
        while (end > m_pos && blank(m_data[end - 1]))
            --end;
        text = m_data + m_pos;
        size = end - m_pos;
    }

    // Line (from 1) of a byte offset: counted only when a message needs it.
    std::size_t lineOf(std::size_t offset) const {
        std::size_t line = 1;
        const std::size_t end = offset < m_size ? offset : m_size;
        for (std::size_t i = 0; i < end; ++i)
            line += m_data[i] == '\n';
        return line;
    }

private:
    const char *m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// Numbers of a whole word: decimal digits only (a minus sign for the signed
// ones), in range; floats as the standard library reads them, in range.
inline bool wordToU32(const TextWord &w, std::uint32_t &value) {
    if (w.empty() || w.quoted || w.size == 0 || w.text[0] == '-' || w.text[0] == '+')
        return false;
    const std::from_chars_result r = std::from_chars(w.text, w.text + w.size, value);
    return r.ec == std::errc() && r.ptr == w.text + w.size;
}

inline bool wordToI32(const TextWord &w, std::int32_t &value) {
    if (w.empty() || w.quoted || w.size == 0 || w.text[0] == '+')
        return false;
    const std::from_chars_result r = std::from_chars(w.text, w.text + w.size, value);
    return r.ec == std::errc() && r.ptr == w.text + w.size;
}

inline bool wordToF32(const TextWord &w, float &value) {
    if (w.empty() || w.quoted || w.size == 0 || w.text[0] == '+')
        return false;
    const std::from_chars_result r = std::from_chars(w.text, w.text + w.size, value);
    return r.ec == std::errc() && r.ptr == w.text + w.size;
}

} // namespace kelp

#endif
