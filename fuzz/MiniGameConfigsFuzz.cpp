// Reads an arbitrary document as the configuration of each of the three mini-games that have
// one, then walks every record of the three tables.
#include <cstddef>
#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/io/XmlTextReader.h"
#include "fuzz/ConfigFuzzTarget.h"
#include "game/level/MiniGameConfigurations.h"

namespace {

uint32_t visitRecords(const GMiniGameConfigurations& tables) {
    uint32_t checksum = 0;
    for (uint32_t i = 0; i < tables.ballCount(); ++i) {
        const GMiniGameBallConfig& ball = *tables.ball(int32_t(i));
        checksum += ball.correctImagePrefix.length();
        for (const CStringW& name : ball.imageFilenames)
            checksum += name.length();
    }
    for (uint32_t i = 0; i < tables.danceCount(); ++i) {
        const GMiniGameDanceConfig& dance = *tables.dance(int32_t(i));
        checksum += uint32_t(dance.speed) + dance.blockWidths.size();
    }
    for (uint32_t i = 0; i < tables.roulCount(); ++i) {
        const GMiniGameRoulConfig& roul = *tables.roul(int32_t(i));
        checksum += uint32_t(roul.angle1) + uint32_t(roul.angle2) + uint32_t(roul.speed);
    }
    return checksum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CRefPointer<CMemoryBlockFile> file = openConfigDocument(data, size);
    if (!file)
        return 0;
    GMiniGameConfigurations tables;
    tables.readBall(*readConfigDocument(*file));
    tables.readDance(*readConfigDocument(*file));
    tables.readRoul(*readConfigDocument(*file));
    volatile uint32_t sink = visitRecords(tables) + (tables.ball(-1) == nullptr ? 0 : 1);
    (void)sink;
    return 0;
}
