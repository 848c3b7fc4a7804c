// The fuzzer's bytes read as a stream of choices by the structure-aware
// targets. Once the bytes run out every choice is its smallest value, so
// every input, however short, builds a complete document.
#ifndef KELP_FUZZ_CHOICES_H
#define KELP_FUZZ_CHOICES_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace kelpfuzz {

class Choices {
public:
    Choices(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    std::uint16_t u16() { return static_cast<std::uint16_t>(byte() | byte() << 8); }
    std::uint32_t u32() { return u16() | static_cast<std::uint32_t>(u16()) << 16; }
    bool flag() { return byte() & 1; }
    // True about once in n choices (never once the bytes are used up).
    bool oneIn(unsigned n) { return m_at < m_size && byte() % n == n - 1; }
    // A value in [lo, hi].
    std::uint32_t range(std::uint32_t lo, std::uint32_t hi) {
        if (hi <= lo)
            return lo;
        const std::uint64_t span = static_cast<std::uint64_t>(hi) - lo + 1;
        const std::uint32_t raw = span <= 0x100 ? byte() : span <= 0x10000 ? u16() : u32();
        return lo + static_cast<std::uint32_t>(raw % span);
    }
    template <class T, std::size_t N> const T &pick(const T (&options)[N]) {
        return options[range(0, N - 1)];
    }
    float real() {
        switch (byte() % 8) {
        case 0:
            return 0.0f;
        case 1:
            return 1.0f;
        case 2:
            return -0.5f;
        default: {
            const std::uint32_t bits = u32();
            float v;
            std::memcpy(&v, &bits, 4);
            return v;
        }
        }
    }
    std::string text(std::size_t most) {
        std::string s(range(0, static_cast<std::uint32_t>(most)), '\0');
        for (char &c : s)
            c = static_cast<char>(byte());
        return s;
    }
    bool exhausted() const { return m_at >= m_size; }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

} // namespace kelpfuzz

#endif
