#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/Utf.h"
#include "engine/io/ContentManager.h"
#include "engine/io/IVirtualFileSystem.h"
#include "game/app/GameApplication.h"
#include "io/TempFolder.h"
#include "tests/game/app/ScreenInput.h"
#include "tests/game/level/FixtureLevels.h"
#include "tests/video/RecordingRenderDriver.h"

// The developer mode's walk-grid editor on a field of six pads, of which "DancePad1" (template
// "Pad", at 200, 300) is bought: its modes, picking, painting, the grid file and the overlays.
namespace {

using namespace fixture_levels;

constexpr uint32_t kF1 = 112;
constexpr uint32_t kF2 = 113;
constexpr uint8_t kFull = 255;

using Regions = std::map<std::string, std::vector<uint32_t>>;

Regions regionsOf(const WalkGrid& grid) {
    Regions regions;
    for (const auto& region : grid.getRegions()) {
        std::vector<uint32_t>& entries = regions[region.key.toString().c_str()];
        entries.assign(region.value.begin(), region.value.end());
    }
    return regions;
}

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class LevelEditorTest : public FixtureLevelTest {
protected:
    static void SetUpTestSuite() {
        FixtureLevelTest::SetUpTestSuite();
        harness->write("levels/setting2/Level.qscn", padsLevelScene());
        harness->write("levels/setting2/Upgrades.xml",
                       "<Upgrades><Level Index=\"1\"><Locations>"
                       "<U Name=\"DancePad1\" Type=\"Pad\" Price=\"0\"/></Locations>"
                       "<Staff></Staff><Env></Env></Level></Upgrades>");
    }

    void SetUp() override {
        FixtureLevelTest::SetUp();
        developerMode = false;
        harness->advance(1);
    }
    void TearDown() override { developerMode = false; }

    static GameHarness& game() { return harness->game; }
    static GLocationNode* pad() { return findLocation("DancePad1"); }
    static CNameId padRegion() { return named("Pad"); }
    static std::vector<uint32_t> padEntries() { return regionsOf(level().getWalkGrid())["Pad"]; }

    static void typeCodeWord() {
        for (const char* key = "quillbox"; *key != 0; ++key)
            game().typeKey(uint32_t(*key - 'a' + 'A'), char16_t(*key));
        game().runMessages();
    }
    static void type(uint32_t key) {
        game().typeKey(key, 0);
        game().runMessages();
    }
    // The level's point as the window shows it.
    static CVector3d windowPoint(float x, float y) {
        CVector3d point(x, y, 0);
        level().getAbsoluteMatrix().transformPoint(point);
        return point;
    }
    static void mouse(uint32_t message, float x, float y) {
        screen_input::post(game(), message, windowPoint(x, y));
    }
    static void click(uint32_t down, uint32_t up, float x, float y) {
        mouse(down, x, y);
        mouse(up, x, y);
    }
    // Mode 2 with the pad picked by the middle button.
    static void editPad() {
        typeCodeWord();
        type(kF1);
        type(kF1);
        const CVector3d at = harness->pointOf(*pad());
        screen_input::post(game(), WM_MBUTTONDOWN, at);
        screen_input::post(game(), WM_MBUTTONUP, at);
        ASSERT_EQ(level().getEditorLocation(), pad());
    }
    static std::filesystem::path gridFile() {
        return game().contentBase() / "assets/levels/setting2/wgrid.bin";
    }
    // Two cells painted and written with F2.
    static void writeGrid() {
        std::filesystem::create_directories(gridFile().parent_path());
        editPad();
        click(WM_LBUTTONDOWN, WM_LBUTTONUP, 210, 310);
        click(WM_LBUTTONDOWN, WM_LBUTTONUP, 250, 290);
        type(kF2);
        ASSERT_TRUE(std::filesystem::exists(gridFile()));
    }
};

TEST_F(LevelEditorTest, F1CyclesTheModesInTheDeveloperModeOnly) {
    type(kF1);
    EXPECT_EQ(level().getEditorMode(), 0) << "not without the code word";

    typeCodeWord();
    type(kF1);
    EXPECT_EQ(level().getEditorMode(), 1);
    screen_input::post(game(), WM_MBUTTONDOWN, harness->pointOf(*pad()));
    EXPECT_EQ(level().getEditorLocation(), nullptr) << "no picking while only the grid shows";

    type(kF1);
    EXPECT_EQ(level().getEditorMode(), 2);
    screen_input::post(game(), WM_MBUTTONDOWN, harness->pointOf(*pad()));
    EXPECT_EQ(level().getEditorLocation(), pad());
    type(kF1);
    EXPECT_EQ(level().getEditorMode(), 0);
    EXPECT_EQ(level().getEditorLocation(), nullptr);
}

TEST_F(LevelEditorTest, TheLeftButtonPaintsCellsAndTheRightErasesThem) {
    editPad();
    // The pad stands in cell (10, 15).
    click(WM_LBUTTONDOWN, WM_LBUTTONUP, 210, 310);
    click(WM_LBUTTONDOWN, WM_LBUTTONUP, 215, 305);
    EXPECT_EQ(padEntries(), std::vector<uint32_t>{0xFF}) << "one cell painted twice";

    mouse(WM_LBUTTONDOWN, 230, 310);
    mouse(WM_MOUSEMOVE, 250, 330);
    mouse(WM_LBUTTONUP, 250, 330);
    mouse(WM_MOUSEMOVE, 290, 330);
    const std::vector<uint32_t> stroke = {0xFF, WalkGrid::makeRegionEntry(1, 0, kFull),
                                          WalkGrid::makeRegionEntry(2, 1, kFull)};
    EXPECT_EQ(padEntries(), stroke) << "a stroke paints until the button is up";

    mouse(WM_RBUTTONDOWN, 170, 310);
    mouse(WM_MOUSEMOVE, 210, 310);
    mouse(WM_RBUTTONUP, 210, 310);
    const std::vector<uint32_t> erased = {WalkGrid::makeRegionEntry(2, 1, kFull),
                                          WalkGrid::makeRegionEntry(1, 0, kFull)};
    EXPECT_EQ(padEntries(), erased) << "the last entry takes the erased one's place";
}

TEST_F(LevelEditorTest, OffsetsCountFromTheLocationsOwnCell) {
    pad()->setPosition(CVector3d(45, 30, pad()->getPosition().z));
    harness->advance(1);
    editPad();
    click(WM_LBUTTONDOWN, WM_LBUTTONUP, 70, 30);
    EXPECT_EQ(padEntries(), std::vector<uint32_t>{WalkGrid::makeRegionEntry(1, 0, kFull)});

    struct Case {
        float x;
        float y;
        bool painted;
    };
    // Offsets are signed bytes: a cell further out than 127 would wrap onto another.
    // The pad's cell is (2, 1); cells are truncated toward zero.
    const Case cases[] = {{30, 10, true},     {-2510, 30, true}, {2590, 30, true}, {45, 2570, true},
                          {-2530, 30, false}, {2610, 30, false}, {45, 2590, false}};
    for (const Case& c : cases) {
        const size_t before = padEntries().size();
        level().paintRegionCell(CVector3d(c.x, c.y, 0), kFull);
        EXPECT_EQ(padEntries().size(), before + (c.painted ? 1 : 0)) << c.x << ", " << c.y;
    }
    EXPECT_EQ(padEntries()[1], WalkGrid::makeRegionEntry(-1, -1, kFull));
}

TEST_F(LevelEditorTest, F2WritesTheGridThatLoadsBackEqualAndNothingWhileOff) {
    std::filesystem::remove(gridFile());
    typeCodeWord();
    type(kF2);
    EXPECT_FALSE(std::filesystem::exists(gridFile())) << "F2 while the editor is off";

    writeGrid();
    WalkGrid loaded;
    const CRefPointer<IInputFile> file =
        game().engine().getFileSystem()->openInputFile(utf8ToUtf16(gridFile().c_str()));
    ASSERT_TRUE(file && loaded.load(*file));
    const WalkGrid& grid = level().getWalkGrid();
    EXPECT_EQ(loaded.getCellSize(), grid.getCellSize());
    EXPECT_EQ(loaded.getColumns(), grid.getColumns());
    EXPECT_EQ(loaded.getRows(), grid.getRows());
    EXPECT_EQ(regionsOf(loaded), regionsOf(grid));
    EXPECT_EQ(regionsOf(loaded)["Pad"].size(), 2u);
}

TEST_F(LevelEditorTest, TheToolTurnsAWrittenGridIntoADescriptionThatBuildsTheSameBytes) {
    writeGrid();
    TempFolder folder;
    const std::string tool = "python3 " VANTOR_SOURCE_DIR "/tools/make-walkgrids.py ";
    const std::filesystem::path description = folder.path() / "walkgrids.json";
    const std::filesystem::path built = folder.path() / "built";
    ASSERT_EQ(std::system((tool + "--describe " + gridFile().string() +
                           " levels/setting2/wgrid.bin " + description.string())
                              .c_str()),
              0);
    ASSERT_EQ(std::system((tool + description.string() + " " + built.string()).c_str()), 0);
    EXPECT_EQ(readBytes(built / "levels/setting2/wgrid.bin"), readBytes(gridFile()));
}

TEST_F(LevelEditorTest, OverlaysShowTheGridAndThenTheRegionOverTheLevel) {
    RecordingRenderDriver driver;
    RenderList list;
    level().collectDrawables(list);
    level().render(&driver, nullptr);
    for (const Drawable& entry : list)
        EXPECT_NE(entry.node, &level()) << "nothing over the level while the editor is off";
    EXPECT_TRUE(driver.draws.empty());

    editPad();
    click(WM_LBUTTONDOWN, WM_LBUTTONUP, 250, 290);
    list.truncate(0);
    level().collectDrawables(list);
    ASSERT_EQ(list[list.size() - 1].node, &level());
    EXPECT_EQ(list[list.size() - 1].depth, -100);

    level().render(&driver, nullptr);
    ASSERT_EQ(driver.draws.size(), 2u);
    const RecordingRenderDriver::Draw& grid = driver.draws[0];
    EXPECT_EQ(grid.primitiveType, uint32_t(PRIMITIVE_LINES));
    ASSERT_EQ(grid.vertices.size(), 2u * (40 + 53)) << "39 rows and 52 columns of 20";
    EXPECT_EQ(grid.primitiveCount, 40u + 53u);
    EXPECT_EQ(grid.vertices[0].color, CColor(0xFF00FF00));
    const std::pair<size_t, CVector3d> gridPoints[] = {{0, windowPoint(0, 0)},
                                                       {1, windowPoint(1024, 0)},
                                                       {79, windowPoint(1024, 780)},
                                                       {80, windowPoint(0, 0)},
                                                       {185, windowPoint(1040, 768)}};
    for (const auto& [index, point] : gridPoints) {
        EXPECT_NEAR(grid.vertices[index].position.x, point.x, 0.01f) << index;
        EXPECT_NEAR(grid.vertices[index].position.y, point.y, 0.01f) << index;
    }

    const RecordingRenderDriver::Draw& region = driver.draws[1];
    EXPECT_EQ(region.primitiveType, uint32_t(PRIMITIVE_TRIANGLES));
    ASSERT_EQ(region.vertices.size(), 6u) << "a region of one cell is drawn";
    EXPECT_EQ(region.vertices[0].color, CColor(0xFFFF0000));
    const CVector3d corners[] = {windowPoint(240, 280), windowPoint(260, 300)};
    EXPECT_NEAR(region.vertices[0].position.x, corners[0].x, 0.01f);
    EXPECT_NEAR(region.vertices[0].position.y, corners[0].y, 0.01f);
    EXPECT_NEAR(region.vertices[2].position.x, corners[1].x, 0.01f);
    EXPECT_NEAR(region.vertices[2].position.y, corners[1].y, 0.01f);
    harness->advance(1); // and by the game's own driver
}

TEST_F(LevelEditorTest, ALevelWithoutAGridNeitherPaintsNorDrawsOne) {
    const CRefPointer<CContent> loaded =
        harness->content().load(contentType("snod"), u"levels/setting2/Level.qscn", true);
    auto* bare = static_cast<GGameLevelScene*>(loaded.get());
    ASSERT_NE(bare, nullptr);
    ASSERT_EQ(bare->getWalkGrid().getCellSize(), 0);
    developerMode = true;
    const CRefPointer<CEventInputKeyUp> f1(new CEventInputKeyUp(0, kF1, false, false));
    bare->OnKeyUp(*f1);
    bare->OnKeyUp(*f1);
    ASSERT_EQ(bare->getEditorMode(), 2);

    GLocationNode* location = bare->getLocations()[0].get();
    location->setTemplateName(padRegion());
    bare->updateAbsoluteTransform();
    const CRefPointer<CEvent> pick(new CEventInputMouseMiddleDown(200, 300));
    bare->sendToChildren(0, *pick);
    ASSERT_EQ(bare->getEditorLocation(), location);

    RecordingRenderDriver driver;
    bare->render(&driver, nullptr);
    EXPECT_TRUE(driver.draws.empty());
    bare->paintRegionCell(CVector3d(210, 310, 0), kFull);
    EXPECT_EQ(bare->getWalkGrid().getRegions().size(), 0u);
}

} // namespace
