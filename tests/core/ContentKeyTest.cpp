#include "engine/core/ContentKey.h"

#include <gtest/gtest.h>

#include "engine/io/ContentManager.h"

namespace {

CRefPointer<CContentManager> makeManager() {
    return CRefPointer<CContentManager>(
        new CContentManager(CServiceReference<IRenderDriver>(), nullptr, nullptr));
}

TEST(ContentKeyTest, NameRoundTrip) {
    const CRefPointer<CContentManager> manager = makeManager();
    CContentManager* const owner = manager.get();
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

    const CRefPointer<CContentManager> owner = makeManager();
    const CRefPointer<CContentManager> other = makeManager();
    EXPECT_EQ(CContentKey(owner.get(), u"x"), CContentKey(owner.get(), u"x"));
    EXPECT_NE(CContentKey(owner.get(), u"x"), CContentKey(nullptr, u"x"));
    EXPECT_NE(CContentKey(owner.get(), u"x"), CContentKey(other.get(), u"x"));
}

TEST(ContentKeyTest, KeyOutlivingItsOwnerHasNone) {
    CRefPointer<CContentManager> owner = makeManager();
    const CContentKey key(owner.get(), u"scenes/Level.qscn");
    const CContentKey copy = key;
    owner.reset();
    EXPECT_EQ(key.getOwner(), nullptr);
    EXPECT_EQ(copy.getOwner(), nullptr);
    EXPECT_TRUE(key.getName() == u"scenes/Level.qscn");
}

} // namespace
