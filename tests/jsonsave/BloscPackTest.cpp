// The Blosc container as a save writes it: the layout of Houdini's files,
// read back by the loader's unpacking, the same bytes on any thread count.
#include "io/BloscContainer.h"
#include "io/BloscPack.h"
#include "io/ByteOrder.h"

#include <blosc.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<unsigned char> sample(std::size_t size) {
    std::vector<unsigned char> data(size);
    std::uint32_t x = 12345;
    for (std::size_t k = 0; k < size; ++k) {
        x = x * 1103515245u + 12345u;
        // Mostly repeating, partly noise, as geometry streams are.
        data[k] = static_cast<unsigned char>(k % 7 == 0 ? x >> 24 : k / 4096);
    }
    return data;
}

} // namespace

TEST(BloscPack, MultiChunkStreamHasHoudinisLayoutAndUnpacks) {
    const std::size_t size = 3 * kelp::kBloscBlock + 1000;
    const std::vector<unsigned char> data = sample(size);
    std::vector<unsigned char> packed;
    std::string error;
    ASSERT_TRUE(kelp::packBloscContainer(data.data(), size, packed, error, 3)) << error;

    ASSERT_GT(packed.size(), 24u);
    EXPECT_EQ(std::memcmp(packed.data(), "scf1\0\0\0\0\0\0\0\0", 12), 0);
    EXPECT_EQ(std::memcmp(packed.data() + packed.size() - 4, "1fcs", 4), 0);
    const unsigned char *end = packed.data() + packed.size();
    EXPECT_EQ(kelp::loadU64BE(end - 12), 8u * 5);            // 4 chunks: 5 words
    EXPECT_EQ(kelp::loadU64BE(end - 20), 1000u);             // the last chunk
    EXPECT_EQ(kelp::loadU64BE(end - 28), kelp::kBloscBlock); // every other chunk
    // Each chunk: version 2, LZ4 1, byte shuffle with LZ4 (0x21), 4-byte items.
    const unsigned char *chunk = packed.data() + 12;
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(chunk[0], 2);
        EXPECT_EQ(chunk[1], 1);
        EXPECT_EQ(chunk[2] & 0xE1, 0x21);
        EXPECT_EQ(chunk[3], 4);
        EXPECT_EQ(kelp::loadU32LE(chunk + 4), k < 3 ? kelp::kBloscBlock : 1000u);
        const std::uint32_t cbytes = kelp::loadU32LE(chunk + 12);
        if (k > 0) {
            EXPECT_EQ(kelp::loadU64BE(end - 52 + 8 * (k - 1)),
                      static_cast<std::uint64_t>(chunk - packed.data() - 12));
        }
        chunk += cbytes;
    }
    EXPECT_EQ(chunk, end - 12 - 40);

    kelp::ByteBuffer out;
    ASSERT_TRUE(kelp::unpackBloscContainer(packed.data(), packed.size(), out, error)) << error;
    ASSERT_EQ(out.size(), size);
    EXPECT_EQ(std::memcmp(out.data(), data.data(), size), 0);

    std::vector<unsigned char> single;
    ASSERT_TRUE(kelp::packBloscContainer(data.data(), size, single, error, 1)) << error;
    EXPECT_EQ(single, packed);
}

TEST(BloscPack, SmallAndEmptyStreamsAreOneChunk) {
    for (std::size_t size : {std::size_t(0), std::size_t(5), kelp::kBloscBlock}) {
        SCOPED_TRACE(size);
        const std::vector<unsigned char> data = sample(size);
        std::vector<unsigned char> packed;
        std::string error;
        ASSERT_TRUE(kelp::packBloscContainer(data.data(), size, packed, error)) << error;
        const unsigned char *end = packed.data() + packed.size();
        EXPECT_EQ(kelp::loadU64BE(end - 12), 16u);
        EXPECT_EQ(kelp::loadU64BE(end - 20), size);
        kelp::ByteBuffer out;
        if (size == 0)
            continue;
        ASSERT_TRUE(kelp::unpackBloscContainer(packed.data(), packed.size(), out, error)) << error;
        ASSERT_EQ(out.size(), size);
        EXPECT_EQ(std::memcmp(out.data(), data.data(), size), 0);
    }
}
