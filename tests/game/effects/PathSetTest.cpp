#include "game/effects/PathSet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/Logger.h"
#include "engine/core/RefPointer.h"
#include "tests/scene/SceneFileFixtures.h"
#include "tests/scene/SceneXmlFixtures.h"

namespace {

CRefPointer<GPathSet> read(const std::u16string& text, bool* complete = nullptr) {
    CRefPointer<GPathSet> set(new GPathSet());
    const bool ended = set->load(*readerOver(text));
    if (complete != nullptr)
        *complete = ended;
    return set;
}

std::vector<std::string> names(const CArray<CNameId>& ids) {
    std::vector<std::string> texts;
    for (CNameId id : ids)
        texts.push_back(id.toString().c_str());
    return texts;
}

TEST(PathSetTest, AttributesAndTheirDefaults) {
    bool complete = false;
    const CRefPointer<GPathSet> set = read(uR"(<Paths>
  <Path ID="Harbour" Time="12.7;x-3" Objects=" Cat ;;Dog; " Bi="1">
    <p p="10;-20.5" d1="5" d2="2.5" s="0.75"/>
    <q p="99;99"/>
    <p/>
  </Path>
  <Path Bi="2"><p p="x1y2z3"/></Path>
  <Path Time="7"/>
  <Other/>
</Paths>)",
                                           &complete);
    EXPECT_TRUE(complete);
    ASSERT_EQ(set->getPathCount(), 3u) << "a self-closing path takes none of the paths after it";

    const GPath& first = *set->getPath(0);
    EXPECT_EQ(first.id.toString(), CString("Harbour"));
    EXPECT_EQ(first.time[0], 12);
    EXPECT_EQ(first.time[1], -3);
    EXPECT_EQ(names(first.objects), (std::vector<std::string>{"Cat", "Dog"}));
    EXPECT_TRUE(first.bi);
    ASSERT_EQ(first.points.size(), 2u) << "elements other than p are passed over";
    struct Case {
        float x, y, d1, d2, s;
    };
    const Case expected[] = {{10, -20.5f, 5, 2.5f, 0.75f}, {0, 0, 0, 0, 1}};
    for (uint32_t i = 0; i < 2; ++i) {
        const PathPoint& p = first.points[i];
        EXPECT_EQ(p.x, expected[i].x) << i;
        EXPECT_EQ(p.y, expected[i].y) << i;
        EXPECT_EQ(p.d1, expected[i].d1) << i;
        EXPECT_EQ(p.d2, expected[i].d2) << i;
        EXPECT_EQ(p.s, expected[i].s) << i;
        EXPECT_EQ(p.segmentLength, -1) << "not measured yet";
    }

    const GPath& second = *set->getPath(1);
    EXPECT_EQ(second.id, CNameId());
    EXPECT_FALSE(second.bi) << "only 1 sets the flag";
    EXPECT_EQ(second.time[0], 0);
    EXPECT_TRUE(second.objects.size() == 0);
    ASSERT_EQ(second.points.size(), 1u);
    EXPECT_EQ(second.points[0].x, 1);
    EXPECT_EQ(second.points[0].y, 2);

    const GPath& empty = *set->getPath(2);
    EXPECT_EQ(empty.points.size(), 0u);
    EXPECT_EQ(empty.time[0], 7);
    EXPECT_EQ(empty.time[1], 0);
}

TEST(PathSetTest, NumbersThatAreNoFiniteValuesReadAsZero) {
    const CRefPointer<GPathSet> set =
        read(u"<Paths><Path><p p=\"1e60;-1e60\" d1=\"1e60\" s=\"-1e60\"/></Path></Paths>");
    const PathPoint& p = set->getPath(0)->points[0];
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    EXPECT_EQ(p.d1, 0);
    EXPECT_EQ(p.s, 0);
}

TEST(PathSetTest, ATextEndingEarlyKeepsThePathsReadAndLoadingAgainReplacesThem) {
    bool complete = true;
    const CRefPointer<GPathSet> set = read(
        u"<Paths><Path ID=\"A\"><p p=\"1;1\"/></Path><Path ID=\"B\"><p p=\"2;2\"/>", &complete);
    EXPECT_FALSE(complete);
    ASSERT_EQ(set->getPathCount(), 2u);
    EXPECT_EQ(set->getPath(1)->points.size(), 1u);

    EXPECT_TRUE(set->load(*readerOver(u"<Paths><Path ID=\"C\"/></Paths>")));
    ASSERT_EQ(set->getPathCount(), 1u);
    EXPECT_EQ(set->getPath(0)->id.toString(), CString("C"));
}

// A path that a node still travels outlives its set.
TEST(PathSetTest, APathHeldElsewhereOutlivesItsSet) {
    CRefPointer<GPathSet> set = read(u"<Paths><Path><p/><p/></Path></Paths>");
    const CRefPointer<GPath> held = CRefPointer<GPath>::share(set->getPath(0));
    set = nullptr;
    EXPECT_EQ(held->points.size(), 2u);
}

// The paths files are optional: a missing one is passed over in silence.
TEST(PathSetTest, AMissingFileIsSilentAndOneEndingEarlyIsNamedInOneWarning) {
    const CRefPointer<MemoryFileSystem> files(new MemoryFileSystem());
    files->add(u"scenes/Cut.xml", "<Paths><Path><p/><p/></Path><Path>");
    CRefPointer<GPathSet> set(new GPathSet());
    ::testing::internal::CaptureStdout();
    set->loadFile(*files, u"scenes/Missing.xml");
    EXPECT_EQ(set->getPathCount(), 0u);
    set->loadFile(*files, u"scenes/Cut.xml");
    const std::string log = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(set->getPathCount(), 2u);
    EXPECT_EQ(log, "WRN: Paths file ends early: scenes/Cut.xml\r\n");
}

} // namespace
