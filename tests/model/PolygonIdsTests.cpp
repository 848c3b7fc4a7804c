#include <Kelp>

#include <gtest/gtest.h>

#include <utility>

namespace {

PolygonIds make(std::uint32_t n) {
    PolygonIds ids;
    for (std::uint32_t i = 0; i < n; ++i)
        ids.push_back(i * 10);
    return ids;
}

void expectSequence(const PolygonIds &ids, std::uint32_t n) {
    ASSERT_EQ(ids.size(), n);
    for (std::uint32_t i = 0; i < n; ++i)
        EXPECT_EQ(ids[i], i * 10);
}

TEST(PolygonIds, GrowsPastTheInlineStorage) {
    for (std::uint32_t n : {0u, 1u, 3u, 4u, 5u, 8u, 9u, 1000u})
        expectSequence(make(n), n);
}

TEST(PolygonIds, CopyAndAssignInEveryCombination) {
    for (std::uint32_t from : {2u, 4u, 12u}) {
        for (std::uint32_t to : {0u, 3u, 20u}) {
            PolygonIds source = make(from);
            PolygonIds copy(source);
            expectSequence(copy, from);
            PolygonIds target = make(to);
            target = source;
            expectSequence(target, from);
            EXPECT_TRUE(target == source);
            target.push_back(7);
            expectSequence(source, from); // the source is untouched
            PolygonIds moved = make(to);
            moved = std::move(target);
            EXPECT_EQ(moved.size(), from + 1);
            EXPECT_EQ(moved[from], 7u);
            PolygonIds constructed(std::move(moved));
            EXPECT_EQ(constructed.size(), from + 1);
            target = constructed; // a moved-from object can be assigned again
            EXPECT_TRUE(target == constructed);
        }
    }
    PolygonIds self = make(6);
    PolygonIds &alias = self;
    self = alias;
    expectSequence(self, 6);
}

TEST(PolygonIds, ResizeKeepsTheFirstValues) {
    PolygonIds ids = make(3);
    ids.resize(10);
    EXPECT_EQ(ids.size(), 10u);
    EXPECT_EQ(ids[2], 20u);
    ids.resize(2);
    expectSequence(ids, 2);
    ids.clear();
    EXPECT_TRUE(ids.empty());
    EXPECT_TRUE(make(3) != make(4));
    PolygonIds a = make(3);
    PolygonIds b = make(3);
    b[1] = 11;
    EXPECT_TRUE(a != b);
}

} // namespace
