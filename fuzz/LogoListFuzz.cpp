// Reads an arbitrary document as the logo list, twice into one list as a second read would,
// and visits every logo as the logos scene and the main menu take them.
#include <cstddef>
#include <cstdint>

#include "engine/core/RefPointer.h"
#include "fuzz/ConfigFuzzTarget.h"
#include "game/app/LogoList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CRefPointer<CMemoryBlockFile> file = openConfigDocument(data, size);
    if (!file)
        return 0;
    CRefPointer<GLogoList> logos(new GLogoList);
    logos->load(*readConfigDocument(*file));
    logos->load(*readConfigDocument(*file));
    uint32_t checksum = 0;
    for (const LogoEntry& logo : logos->getLogos())
        checksum += logo.image.length() + uint32_t(logo.timeMs) + (logo.skippable ? 1 : 0);
    for (const MMLogoEntry& logo : logos->getMenuLogos())
        checksum += logo.image.length() + logo.address.length() + uint32_t(logo.position.y != 0);
    while (logos->getLogos().size() > 0)
        logos->getLogos().eraseAt(0);
    volatile uint32_t sink = checksum;
    (void)sink;
    return 0;
}
