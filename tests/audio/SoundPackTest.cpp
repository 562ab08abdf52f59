#include "engine/audio/SoundPack.h"

#include <string>

#include <gtest/gtest.h>

#include "engine/audio/SoundPlayer.h"
#include "engine/audio/StreamedSoundSource.h"
#include "tests/audio/SoundContentFixture.h"

namespace {

class SoundPackTest : public SoundContentFixture {
protected:
    SoundPackTest() {
        writeLevel("sounds/a.wav", 2205, 1000);
        writeLevel("sounds/b.wav", 2205, 2000);
    }

    static std::string nameOf(const CSoundSource& sound) {
        return CString(sound.getContentName().c_str()).c_str();
    }
};

} // namespace

TEST_F(SoundPackTest, ReadsCuesWithTheirAttributesAndSoundsRelativeToThePack) {
    const CRefPointer<SoundPack> pack = readPack(R"(<?xml version="1.0"?>
<SoundPack>
  <SoundCue Name="Click" GroupID="3" Vol="0.5" Loop="true">
    <Sound Filename="a.wav"/>
    <Other Filename="b.wav"/>
    <Sound Filename="missing.wav"/>
    <Sound Filename="b.wav"/>
  </SoundCue>
  <Group><SoundCue Name="Nested" Loop="True"><Sound Filename="b.wav"/></SoundCue></Group>
  <SoundCue Name="Single"/>
  <SoundCue Name="Silent"><Sound Filename="missing.wav"/></SoundCue>
</SoundPack>
<SoundCue Name="AfterTheEnd"/>)");
    struct Expected {
        const char* name;
        int32_t group;
        float volume;
        bool loop;
        std::vector<std::string> sounds;
    };
    const Expected expected[] = {
        {"Click", 3, 0.5f, true, {"sounds/a.wav", "sounds/b.wav"}},
        {"Nested", -1, 1.0f, false, {"sounds/b.wav"}},
        {"Single", -1, 1.0f, false, {}},
        {"Silent", -1, 1.0f, false, {}},
    };
    const CArray<CRefPointer<SoundCue>>& cues = pack->getCues();
    ASSERT_EQ(cues.size(), std::size(expected));
    for (uint32_t i = 0; i < cues.size(); ++i) {
        const Expected& e = expected[i];
        const SoundCue& cue = *cues[i];
        EXPECT_EQ(cue.getName(), CNameId(CString(e.name))) << e.name;
        EXPECT_EQ(cue.getGroup(), e.group) << e.name;
        EXPECT_EQ(cue.getVolume(), e.volume) << e.name;
        EXPECT_EQ(cue.isLooping(), e.loop) << e.name;
        std::vector<std::string> sounds;
        for (const CRefPointer<CSoundSource>& sound : cue.getSounds())
            sounds.push_back(nameOf(*sound));
        EXPECT_EQ(sounds, e.sounds) << e.name;
    }
}

TEST_F(SoundPackTest, FirstCueOfANameIsRegisteredAndACueWithoutSoundsNeverPlays) {
    const CRefPointer<SoundPack> pack = readPack(R"(<SoundPack>
  <SoundCue Name="Beep"><Sound Filename="a.wav"/></SoundCue>
  <SoundCue Name="Beep"><Sound Filename="b.wav"/></SoundCue>
  <SoundCue Name="Silent"><Sound Filename="missing.wav"/></SoundCue>
</SoundPack>)");
    const CRefPointer<CSoundPlayer> player(new CSoundPlayer(driver));
    pack->addCuesTo(*player);
    const CRefPointer<SoundCue> beep = player->playCue(CNameId(CString("Beep")));
    ASSERT_TRUE(beep);
    EXPECT_EQ(nameOf(*beep->getSounds()[0]), "sounds/a.wav");
    EXPECT_FALSE(player->playCue(CNameId(CString("Silent"))));
    EXPECT_FALSE(player->playCue(CNameId(CString("Unknown"))));
}

TEST_F(SoundPackTest, StreamingTypeOverridesTheThresholdForItsCueOnly) {
    driver->setStreamingThreshold(0x40000);
    struct Case {
        const char* text;
        bool streamed;
    };
    const Case cases[] = {
        {R"(<SoundPack><SoundCue Name="S" StreamingType="1"><Sound Filename="a.wav"/>
           </SoundCue></SoundPack>)",
         true},
        {R"(<SoundPack><SoundCue Name="S" StreamingType="2"><Sound Filename="b.wav"/>
           </SoundCue></SoundPack>)",
         false},
        // Cut inside the cue: the threshold comes back all the same.
        {R"(<SoundPack><SoundCue Name="S" StreamingType="1"><Sound Filename="b.wav"/>)", true},
    };
    for (const Case& c : cases) {
        const CRefPointer<SoundPack> pack = readPack(c.text);
        ASSERT_EQ(pack->getCues().size(), 1u) << c.text;
        ASSERT_EQ(pack->getCues()[0]->getSounds().size(), 1u) << c.text;
        const CSoundSource* sound = pack->getCues()[0]->getSounds()[0].get();
        EXPECT_EQ(dynamic_cast<const CStreamedSoundSource*>(sound) != nullptr, c.streamed)
            << c.text;
        EXPECT_EQ(driver->getStreamingThreshold(), 0x40000u) << c.text;
        manager->releaseAll();
    }
}

TEST_F(SoundPackTest, ProcessorLoadsPacksSharedAndNeverSavesThem) {
    writeText("sounds/SoundPack.xml",
              R"(<SoundPack><SoundCue Name="A"><Sound Filename="a.wav"/></SoundCue></SoundPack>)");
    const CRefPointer<CContent> first =
        manager->load(SoundPack::kContentType, u"sounds/SoundPack.xml", false);
    const CRefPointer<CContent> second =
        manager->load(SoundPack::kContentType, u"sounds/SoundPack.xml", false);
    ASSERT_TRUE(first);
    EXPECT_EQ(first, second);
    const SoundPack& pack = static_cast<const SoundPack&>(*first);
    ASSERT_EQ(pack.getCues().size(), 1u);
    EXPECT_EQ(pack.getCues()[0]->getSounds().size(), 1u);
    EXPECT_FALSE(manager->save(SoundPack::kContentType, first.get(), folder.wide("out.xml"), 0));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "out.xml"));
}
