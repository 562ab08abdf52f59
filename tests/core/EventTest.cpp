#include "engine/core/Event.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(EventTest, KindOfFollowsTheClassChain) {
    struct Case {
        const CEvent& event;
        uint32_t typeId;
        uint32_t category;
        std::vector<uint32_t> kinds;
        std::vector<uint32_t> notKinds;
    };
    const CEventSystemFlowUpdate update(20);
    const CEventInputKey key;
    const CEventInputMouse mouse;
    const CEventDevice device;
    const Case cases[] = {
        {update, 16, 2, {16, 2, 0}, {1, 3, 17}},
        {key, 4, 4, {4, 3, 0}, {5, 2}},
        {mouse, 5, 8, {5, 3, 0}, {4, 1}},
        {device, 1, 1, {1, 0}, {2, 3}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.event.getTypeId(), c.typeId);
        EXPECT_EQ(c.event.getCategory(), c.category) << c.typeId;
        for (uint32_t id : c.kinds)
            EXPECT_TRUE(c.event.isKindOf(id)) << c.typeId << " kind of " << id;
        for (uint32_t id : c.notKinds)
            EXPECT_FALSE(c.event.isKindOf(id)) << c.typeId << " kind of " << id;
        EXPECT_TRUE(c.event.getTypeName() == u"#thisClassName");
    }
    EXPECT_EQ(update.getElapsedMs(), 20u);
}

} // namespace
