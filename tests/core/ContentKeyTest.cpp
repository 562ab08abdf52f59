#include "engine/core/ContentKey.h"

#include <gtest/gtest.h>

namespace {

TEST(ContentKeyTest, NameRoundTrip) {
    CContentManager* const owner = reinterpret_cast<CContentManager*>(0x1000);
    const char16_t* const names[] = {u"scenes/MainMenuScene.qscn", u"SCENES/mainmenuscene.qscn",
                                     u"\u00e9t\u00e9 \u4e2d", u""};
    for (const char16_t* name : names) {
        const CContentKey key(owner, CStringW(name));
        EXPECT_TRUE(key.getName() == name) << key.getNameId();
        EXPECT_EQ(key.getOwner(), owner);
        EXPECT_EQ(key.getNameId(), CContentKey(nullptr, CStringW(name)).getNameId());
    }
    EXPECT_NE(CContentKey(owner, u"a").getNameId(), CContentKey(owner, u"A").getNameId());
}

TEST(ContentKeyTest, EmptyKeyAndEquality) {
    const CContentKey empty;
    EXPECT_EQ(empty.getNameId(), -1);
    EXPECT_EQ(empty.getOwner(), nullptr);
    EXPECT_TRUE(empty.getName().isEmpty());
    EXPECT_EQ(empty, CContentKey(nullptr, CStringW()));

    CContentManager* const owner = reinterpret_cast<CContentManager*>(0x1000);
    EXPECT_EQ(CContentKey(owner, u"x"), CContentKey(owner, u"x"));
    EXPECT_NE(CContentKey(owner, u"x"), CContentKey(nullptr, u"x"));
}

} // namespace
