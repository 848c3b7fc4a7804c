#include "ScriptLexer.h"

#include <cctype>

namespace kelphost {

namespace {

std::string trim(const std::string &s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

struct StatementBuilder {
    ScriptStatement current;
    std::string word;
    bool inWord = false;
    bool wordQuoted = false;
    bool any = false; // statement has started

    void start(int line) {
        if (!any) {
            any = true;
            current.line = line;
        }
    }
    void endWord() {
        if (inWord) {
            current.words.push_back(ScriptWord{word, wordQuoted});
            word.clear();
            inWord = false;
            wordQuoted = false;
        }
    }
    void endStatement(std::vector<ScriptStatement> &out) {
        endWord();
        current.text = trim(current.text);
        if (!current.words.empty())
            out.push_back(current);
        current = ScriptStatement();
        any = false;
    }
};

} // namespace

bool splitScript(const std::string &script, std::vector<ScriptStatement> &statements,
                 std::string &error) {
    StatementBuilder b;
    int line = 1;
    size_t i = 0;
    const size_t n = script.size();
    while (i < n) {
        char c = script[i];
        if (c == '\n')
            ++line;
        if (c == '/' && i + 1 < n && script[i + 1] == '/') {
            while (i < n && script[i] != '\n')
                ++i;
            continue;
        }
        if (c == ';') {
            b.endStatement(statements);
            ++i;
            continue;
        }
        if (std::isspace(static_cast<unsigned char>(c))) {
            b.endWord();
            if (b.any)
                b.current.text += c == '\n' ? ' ' : c;
            ++i;
            continue;
        }
        b.start(line);
        if (c == '"') {
            const int startLine = line;
            b.endWord();
            b.inWord = true;
            b.wordQuoted = true;
            b.current.text += c;
            ++i;
            bool closed = false;
            while (i < n) {
                char d = script[i];
                b.current.text += d;
                if (d == '\n')
                    ++line;
                if (d == '"') {
                    closed = true;
                    ++i;
                    break;
                }
                if (d == '\\' && i + 1 < n) {
                    char e = script[i + 1];
                    b.current.text += e;
                    switch (e) {
                    case 'n':
                        b.word += '\n';
                        break;
                    case 't':
                        b.word += '\t';
                        break;
                    case 'r':
                        b.word += '\r';
                        break;
                    default:
                        b.word += e;
                        break;
                    }
                    i += 2;
                    continue;
                }
                b.word += d;
                ++i;
            }
            if (!closed) {
                error = "line " + std::to_string(startLine) + ": unterminated string";
                return false;
            }
            b.endWord();
            continue;
        }
        b.inWord = true;
        b.word += c;
        b.current.text += c;
        ++i;
    }
    b.endStatement(statements);
    return true;
}

bool isFlagWord(const ScriptWord &word) {
    return !word.quoted && word.text.size() >= 2 && word.text[0] == '-' &&
           std::isalpha(static_cast<unsigned char>(word.text[1]));
}

std::string quoteScriptString(const std::string &text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out + "\"";
}

} // namespace kelphost
