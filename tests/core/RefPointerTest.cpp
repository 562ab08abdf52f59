#include "engine/core/RefPointer.h"

#include <gtest/gtest.h>

#include "engine/core/RefCounted.h"

namespace {

struct Tracked : CRefCounted {
    explicit Tracked(int* destroyed) : destroyed(destroyed) {}
    ~Tracked() override { ++*destroyed; }
    int* destroyed;
};

struct Derived : Tracked {
    using Tracked::Tracked;
};

// Two reference-counted bases share one count through the virtual base.
struct SharedA : virtual CRefCounted {};
struct SharedB : virtual CRefCounted {};
struct SharedBoth : SharedA, SharedB {};

TEST(RefCountedTest, ReleaseDestroysOnlyTheLastReference) {
    int destroyed = 0;
    Tracked* object = new Tracked(&destroyed);
    object->addRef();
    EXPECT_FALSE(object->release());
    EXPECT_EQ(object->getRefCount(), 1);
    EXPECT_EQ(destroyed, 0);
    EXPECT_TRUE(object->release());
    EXPECT_EQ(destroyed, 1);
}

TEST(RefCountedTest, SharedVirtualBaseHasOneCount) {
    SharedBoth* object = new SharedBoth;
    SharedA& a = *object;
    SharedB& b = *object;
    a.addRef();
    EXPECT_EQ(b.getRefCount(), 2);
    EXPECT_FALSE(b.release());
    EXPECT_TRUE(a.release());
}

TEST(RefPointerTest, AdoptsCopiesAndReleases) {
    int destroyed = 0;
    Tracked* object = new Tracked(&destroyed);
    {
        const CRefPointer<Tracked> owner(object);
        EXPECT_EQ(object->getRefCount(), 1);
        {
            const CRefPointer<Tracked> copy = owner;
            EXPECT_EQ(object->getRefCount(), 2);
        }
        EXPECT_EQ(object->getRefCount(), 1);
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1);
}

TEST(RefPointerTest, AssignmentOfTheSameObjectChangesNoCount) {
    int destroyed = 0;
    CRefPointer<Tracked> first(new Tracked(&destroyed));
    CRefPointer<Tracked> second = first;
    CRefPointer<Tracked>& alias = first;
    first = alias;
    first = second;
    EXPECT_EQ(first->getRefCount(), 2);
    EXPECT_EQ(destroyed, 0);
}

TEST(RefPointerTest, AssignmentReleasesTheOldObject) {
    int oldDestroyed = 0;
    int newDestroyed = 0;
    CRefPointer<Tracked> holder(new Tracked(&oldDestroyed));
    const CRefPointer<Tracked> other(new Tracked(&newDestroyed));
    holder = other;
    EXPECT_EQ(oldDestroyed, 1);
    EXPECT_EQ(other->getRefCount(), 2);
    holder = nullptr;
    EXPECT_EQ(other->getRefCount(), 1);
    EXPECT_EQ(newDestroyed, 0);
}

TEST(RefPointerTest, ShareDetachAndConversion) {
    int destroyed = 0;
    Derived* object = new Derived(&destroyed);
    {
        const CRefPointer<Derived> shared = CRefPointer<Derived>::share(object);
        const CRefPointer<Tracked> base = shared;
        EXPECT_EQ(object->getRefCount(), 3);
    }
    CRefPointer<Tracked> owner(object);
    EXPECT_EQ(owner.detach(), object);
    EXPECT_FALSE(owner);
    EXPECT_EQ(destroyed, 0);
    EXPECT_TRUE(object->release());
    EXPECT_EQ(destroyed, 1);
}

} // namespace
