#include "game/level/MiniGameConfigurations.h"

#include "engine/core/Logger.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/XmlTextReader.h"
#include "game/app/ConfigValues.h"

namespace {

// The mini-game files keep their values in a lower-case attribute.
constexpr const char16_t* kValue = u"value";

int32_t intValue(const CXmlTextReader& reader) {
    return reader.getAttributeInt(kValue, 0);
}

const GConfigField<GMiniGameBallConfig> kBallFields[] = {
    {u"CorrectImagePngPrefixPath",
     [](GMiniGameBallConfig& record, CXmlTextReader& reader) {
         record.correctImagePrefix = reader.getAttribute(kValue);
     }},
    {u"ImageFilenames",
     [](GMiniGameBallConfig& record, CXmlTextReader& reader) {
         record.imageFilenames.append(reader.getAttribute(kValue));
     }},
};

const GConfigField<GMiniGameDanceConfig> kDanceFields[] = {
    {u"speed",
     [](GMiniGameDanceConfig& record, CXmlTextReader& reader) {
         const int32_t speed = intValue(reader);
         if (speed > 0) {
             record.speed = float(speed);
             return;
         }
         record.speed = GMiniGameDanceConfig::kDefaultSpeed;
         CLogger::instance()->log(u"The dance mini-game's speed must be above 0; 250 is used",
                                  CLogger::LevelWarning);
     }},
    {u"BlockWidths",
     [](GMiniGameDanceConfig& record, CXmlTextReader& reader) {
         record.blockWidths.append(float(intValue(reader)));
     }},
};

const GConfigField<GMiniGameRoulConfig> kRoulFields[] = {
    {u"angle1",
     [](GMiniGameRoulConfig& record, CXmlTextReader& reader) { record.angle1 = intValue(reader); }},
    {u"angle2",
     [](GMiniGameRoulConfig& record, CXmlTextReader& reader) { record.angle2 = intValue(reader); }},
    {u"speed",
     [](GMiniGameRoulConfig& record, CXmlTextReader& reader) { record.speed = intValue(reader); }},
};

template <typename Record, uint32_t Count>
void readRecords(CXmlTextReader& reader, CArray<Record>& table,
                 const GConfigField<Record> (&fields)[Count]) {
    while (reader.readNext()) {
        if (isEndElement(reader, u"MiniGame"))
            return;
        if (!isElement(reader, u"level"))
            continue;
        Record record;
        readConfigFields(reader, u"level", record, fields);
        table.append(std::move(record));
    }
}

template <typename Read>
void loadFile(IVirtualFileSystem* files, const char16_t* name, Read read) {
    const CRefPointer<CXmlTextReader> reader =
        files != nullptr ? files->openXmlReader(CStringW(name)) : nullptr;
    if (!reader) {
        CLogger::instance()->log(CStringW(u"Unable to find configuration for the minigame: ") +
                                     name,
                                 CLogger::LevelError);
        return;
    }
    read(*reader);
}

} // namespace

GMiniGameConfigurations& GMiniGameConfigurations::shared() {
    static GMiniGameConfigurations tables;
    return tables;
}

void GMiniGameConfigurations::loadFiles(IVirtualFileSystem* files) {
    clear();
    loadFile(files, kRoulFile, [this](CXmlTextReader& reader) { readRoul(reader); });
    loadFile(files, kDanceFile, [this](CXmlTextReader& reader) { readDance(reader); });
    loadFile(files, kBallFile, [this](CXmlTextReader& reader) { readBall(reader); });
}

void GMiniGameConfigurations::clear() {
    m_ball.clear();
    m_dance.clear();
    m_roul.clear();
}

void GMiniGameConfigurations::readBall(CXmlTextReader& reader) {
    readRecords(reader, m_ball, kBallFields);
}

void GMiniGameConfigurations::readDance(CXmlTextReader& reader) {
    readRecords(reader, m_dance, kDanceFields);
}

void GMiniGameConfigurations::readRoul(CXmlTextReader& reader) {
    readRecords(reader, m_roul, kRoulFields);
}
