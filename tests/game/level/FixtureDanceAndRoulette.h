#pragma once

#include <string>

#include "tests/game/level/FixtureMiniGames.h"

// The dance and roulette scene files of the tests' own, beside the other mini-games' fixtures.
// Dance: the track "Blocks" 600 wide from x 200, the marker "Line" at x 400 making 42 of track
// at a time (not a whole number of 5-unit steps) and the stage "Client". Roulette: a wheel of
// 180 from the level's disc picture centred on (512, 330), a needle "Fg" turning about the
// same point and the text "InfoText" below.
namespace fixture_minigames {

inline std::string vector(const char* name, float x, float y, float z) {
    return std::string("<vector3d Name=\"") + name + "\" Value=\"" + std::to_string(x) + ";" +
           std::to_string(y) + ";" + std::to_string(z) + "\"/>";
}

inline std::string picture(const char* file) {
    return std::string("<atlasTexture Name=\"AtlasTexture\" Value=\"") + file + "\"/>";
}

inline std::string danceScene() {
    const std::string blocks =
        nodeNamed("BaseNode", "Blocks", "", at(200, 300, 1) + vector("Bounds", 600, 20, 0));
    const std::string line = nodeNamed("SpriteNode", "Line", "",
                                       at(400, 290, 2) + vector("Bounds", 42, 40, 0) +
                                           picture("../scenes/images/TextCursor.png"));
    const std::string stage = nodeNamed("BaseNode", "Client", "", at(512, 560, 3));
    return gameScene("GMiniGameDanceScene", blocks + line + stage);
}

inline std::string roulScene() {
    std::string sectors;
    for (const char* name : {"c1", "c2", "c3"})
        sectors += nodeNamed("GSectorSpriteNode", name, "",
                             at(-90, -90, 0) + vector("Scale", 4.5f, 4.5f, 1) +
                                 picture("../levels/setting1/images/Badge.png"));
    // The needle points up from the centre; its hand takes back the pointer's turn.
    const std::string needle = nodeNamed("SpriteNode", "Needle", "",
                                         at(-3, -84, 0) + vector("Bounds", 6, 84, 0) +
                                             "<int Name=\"ImageStretchX\" Value=\"1\"/>"
                                             "<int Name=\"ImageStretchY\" Value=\"1\"/>" +
                                             picture("../scenes/images/TextCursor.png"));
    const std::string hand = nodeNamed("BaseNode", "Hand", needle, vector("Rotation", 0, 0, -225));
    const std::string text = nodeNamed(
        "TextNode", "InfoText", "",
        at(312, 470, 3) + vector("Bounds", 400, 48, 0) +
            "<font Name=\"Font\" Value=\"../fonts/Heading.qfnt\"/>"
            "<int Name=\"TextHAlign\" Value=\"2\"/><int Name=\"TextVAlign\" Value=\"2\"/>");
    return gameScene("GMiniGameRoulScene",
                     nodeNamed("BaseNode", "sectorNode", sectors, at(512, 330, 1)) +
                         nodeNamed("BaseNode", "Fg", hand, at(512, 330, 2)) + text);
}

// A "MiniGameConfiguration.xml" of one "level" per record, each a list of key and value.
inline std::string
configuration(std::initializer_list<std::initializer_list<std::pair<const char*, int>>> records) {
    std::string levels;
    for (const auto& record : records) {
        levels += "<level>";
        for (const auto& [key, value] : record)
            levels += std::string("<") + key + " value=\"" + std::to_string(value) + "\"/>";
        levels += "</level>";
    }
    return "<MiniGame>" + levels + "</MiniGame>";
}

} // namespace fixture_minigames
