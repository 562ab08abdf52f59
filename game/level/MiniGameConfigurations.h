#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/String.h"

class CXmlTextReader;
class IVirtualFileSystem;

// One "level" of the ball game's file: the pictures of the wrong balls, used in turn by
// position, and the start of the right ball's picture, which the client's colour name ends.
struct GMiniGameBallConfig {
    CArray<CStringW> imageFilenames;
    CStringW correctImagePrefix;
};

// One "level" of the dance game's file: the scroll speed in scene units per second and the
// track's lengths, block and gap in turn, a block first.
struct GMiniGameDanceConfig {
    static constexpr float kDefaultSpeed = 250.0f;

    float speed = kDefaultSpeed;
    CArray<float> blockWidths;
};

// One "level" of the roulette's file: the green sector's bounds in degrees after the wheel's
// orientation, and the pointer's speed; 0 where a key is missing.
struct GMiniGameRoulConfig {
    int32_t angle1 = 0;
    int32_t angle2 = 0;
    int32_t speed = 0;
};

// The records of the three configurable mini-games, read from their "MiniGameConfiguration.xml"
// each time a level scene is built; the configuration index a game starts with selects a record
// of its table, the first "level" of the file being index 0.
class GMiniGameConfigurations {
public:
    static constexpr const char16_t* kBallFile =
        u"levels/minigames/balls/MiniGameConfiguration.xml";
    static constexpr const char16_t* kDanceFile =
        u"levels/minigames/dance/MiniGameConfiguration.xml";
    static constexpr const char16_t* kRoulFile = u"levels/minigames/roul/MiniGameConfiguration.xml";

    // The tables the games read.
    static GMiniGameConfigurations& shared();

    // Empties each table and reads its file again: the roulette's, the dance's, then the ball's.
    // A file that does not open is logged as an error and leaves its table empty.
    void loadFiles(IVirtualFileSystem* files);
    void clear();

    // Each appends the "level" records of the "MiniGame" document the reader stands before.
    void readBall(CXmlTextReader& reader);
    // A record without a speed, or with one of 0 or less (the track would never pass), takes
    // the default speed; the latter with a warning.
    void readDance(CXmlTextReader& reader);
    void readRoul(CXmlTextReader& reader);

    // The record of the index; none below 0 or at or past the table's end, where the game
    // uses its defaults.
    const GMiniGameBallConfig* ball(int32_t index) const { return at(m_ball, index); }
    const GMiniGameDanceConfig* dance(int32_t index) const { return at(m_dance, index); }
    const GMiniGameRoulConfig* roul(int32_t index) const { return at(m_roul, index); }
    uint32_t ballCount() const { return m_ball.size(); }
    uint32_t danceCount() const { return m_dance.size(); }
    uint32_t roulCount() const { return m_roul.size(); }

private:
    template <typename Record>
    static const Record* at(const CArray<Record>& table, int32_t index) {
        return index >= 0 && uint32_t(index) < table.size() ? &table[uint32_t(index)] : nullptr;
    }

    CArray<GMiniGameBallConfig> m_ball;
    CArray<GMiniGameDanceConfig> m_dance;
    CArray<GMiniGameRoulConfig> m_roul;
};
