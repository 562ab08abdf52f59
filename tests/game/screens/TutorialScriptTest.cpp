#include "game/screens/TutorialScript.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ConfigFixtures.h"
#include "game/app/ObjectConfigurations.h"
#include "game/screens/TutorialActions.h"

using namespace config_fixtures;

namespace {

std::string names(const CArray<CNameId>& list) {
    std::string out = "[";
    for (uint32_t i = 0; i < list.size(); ++i)
        out += (i > 0 ? "," : "") + text(list[i]);
    return out + "]";
}

std::string numbers(const CArray<int32_t>& list) {
    std::string out = "[";
    for (uint32_t i = 0; i < list.size(); ++i)
        out += (i > 0 ? "," : "") + std::to_string(list[i]);
    return out + "]";
}

std::string str(const CStringW& value) {
    return utf16ToUtf8(value.c_str()).c_str();
}

std::string flag(bool value) {
    return value ? "1" : "0";
}

std::string queue(const CArray<GClientQueueEntry>& entries) {
    std::string out = "[";
    for (const GClientQueueEntry& entry : entries) {
        out += text(entry.clientType) + "@" + std::to_string(entry.time) + ":";
        for (const GQueuedClient& client : entry.clients) {
            out += "c" + std::to_string(client.color);
            for (const GClientOrder& order : client.orders->orders)
                out += "." + text(order.resource);
        }
        out += ";";
    }
    return out + "]";
}

// The class of the action and every field its element sets, in one line.
std::string describe(GTutorialAction& action) {
    const std::string skip = " skip=" + std::to_string(action.getSkipCount());
    if (auto* a = dynamic_cast<GTutorialActionTimed*>(&action))
        return "Timed" + skip + " ms=" + std::to_string(a->remainingMs);
    if (dynamic_cast<GTutorialActionMouseClick*>(&action))
        return "MouseClick" + skip;
    if (auto* a = dynamic_cast<GTutorialActionControlPress*>(&action))
        return "ControlPress" + skip + " names=" + names(a->names);
    if (auto* a = dynamic_cast<GTutorialActionListItemPress*>(&action))
        return "ListItemPress" + skip + " list=" + text(a->listName) +
               " items=" + numbers(a->items);
    if (auto* a = dynamic_cast<GTutorialActionClientClick*>(&action))
        return "ClientClick" + skip + " names=" + names(a->names) +
               " skips=" + numbers(a->nameSkipCounts) + " locations=" + names(a->locations);
    if (auto* a = dynamic_cast<GTutorialActionLocationClick*>(&action))
        return "LocationClick" + skip + " names=" + names(a->names);
    if (auto* a = dynamic_cast<GTutorialActionClientStateChanged*>(&action))
        return "ClientStateChanged" + skip + " names=" + names(a->names) +
               " state=" + std::to_string(a->state) + " current=" + flag(a->checkCurrent);
    if (auto* a = dynamic_cast<GTutorialActionLocationStateChanged*>(&action))
        return "LocationStateChanged" + skip + " names=" + names(a->names) +
               " state=" + std::to_string(a->state) + " current=" + flag(a->checkCurrent);
    if (auto* a = dynamic_cast<GTutorialActionTransferClient*>(&action))
        return "TransferClient" + skip + " clients=" + names(a->clientNames) +
               " to=" + names(a->destinations);
    if (auto* a = dynamic_cast<GTutorialActionNextClient*>(&action))
        return "NextClient" + skip + " allow=" + flag(a->allowNext);
    if (auto* a = dynamic_cast<GTutorialActionEnableLocation*>(&action))
        return "EnableLocation" + skip + " name=" + text(a->locationName) +
               " enable=" + flag(a->enable);
    if (auto* a = dynamic_cast<GTutorialActionInsertClientsQueue*>(&action))
        return "InsertClientsQueue" + skip + " queue=" + queue(a->clientsQueue);
    if (dynamic_cast<GTutorialActionPauseGenerate*>(&action))
        return "PauseGenerate" + skip;
    if (auto* a = dynamic_cast<GTutorialActionSetRandom*>(&action))
        return "SetRandom" + skip + " seed=" + std::to_string(a->seed);
    if (auto* a = dynamic_cast<GTutorialActionGiveItem*>(&action))
        return "GiveItem" + skip + " names=" + names(a->names) + " item=" + text(a->item);
    if (auto* a = dynamic_cast<GTutorialActionChargeLocation*>(&action))
        return "ChargeLocation" + skip + " name=" + text(a->locationName);
    return "unknown";
}

std::vector<std::string> describeActions(const GTutorialHint& hint) {
    std::vector<std::string> out;
    for (const CRefPointer<GTutorialAction>& action : hint.actions)
        out.push_back(describe(*action));
    return out;
}

std::string vector(const CVector3d& v) {
    std::ostringstream out;
    out << v.x << ";" << v.y << ";" << v.z;
    return out.str();
}

std::string readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class TutorialScriptTest : public testing::Test {
protected:
    TutorialScriptTest() { objects->loadFiles(*fixtureFiles("content")); }

    GTutorialScript& load(const std::string& document) {
        script->load(*readerOver(document), objects.get());
        return *script;
    }
    // The actions of the only hint of a document made of these action elements.
    std::vector<std::string> actionsOf(const std::string& actions) {
        load("<Tutorial><Hint><Actions>" + actions + "</Actions></Hint></Tutorial>");
        EXPECT_EQ(script->getHintCount(), 1u) << actions;
        return script->getHintCount() > 0 ? describeActions(*script->getHints()[0])
                                          : std::vector<std::string>();
    }

    CRefPointer<ObjectConfigurations> objects{new ObjectConfigurations};
    CRefPointer<GTutorialScript> script{new GTutorialScript};
};

TEST_F(TutorialScriptTest, ReadsEveryElementAttributeAndActionType) {
    load(readFile(VANTOR_SOURCE_DIR "/tests/game/screens/fixtures/EveryTutorialElement.xml"));
    EXPECT_EQ(names(script->getForcedItemsForClients()), "[Towel,Juice]");
    ASSERT_EQ(script->getHintCount(), 2u);

    const GTutorialHint& first = *script->getHints()[0];
    EXPECT_EQ(str(first.text), "%TutorialPickUp%");
    EXPECT_EQ(vector(first.position), "100;200;5");
    EXPECT_TRUE(first.neliaShown);
    EXPECT_EQ(vector(first.neliaPosition), "-40;260;0");
    EXPECT_STREQ(first.image.c_str(), "PickUp.png");
    ASSERT_EQ(first.arrows.size(), 2u);
    EXPECT_EQ(vector(first.arrows[0].position), "300;400;1");
    EXPECT_EQ(vector(first.arrows[0].rotation), "0;0;90");
    EXPECT_EQ(vector(first.arrows[1].position), "10;20;0");
    EXPECT_EQ(vector(first.arrows[1].rotation), "0;0;0");
    const std::vector<std::string> firstActions = {
        "Timed skip=1 ms=1500",
        "MouseClick skip=2",
        "ControlPress skip=0 names=[OkButton,NextButton]",
        "ListItemPress skip=0 list=ItemsList items=[0,2,-3]",
        "ClientClick skip=0 names=[Client1,Client2] skips=[0,3] locations=[DancePad1]",
        "LocationClick skip=0 names=[DancePad2]",
        "ClientStateChanged skip=0 names=[Client1] state=7 current=1",
        "LocationStateChanged skip=0 names=[DancePad1] state=2 current=0",
    };
    EXPECT_EQ(describeActions(first), firstActions);

    const GTutorialHint& second = *script->getHints()[1];
    EXPECT_EQ(str(second.text), "Second");
    EXPECT_FALSE(second.neliaShown);
    EXPECT_TRUE(second.image.isEmpty());
    EXPECT_EQ(second.arrows.size(), 0u);
    const std::vector<std::string> secondActions = {
        "TransferClient skip=0 clients=[Client3] to=[DancePad1,DancePad2]",
        "NextClient skip=0 allow=1",
        "EnableLocation skip=0 name=DancePad3 enable=1",
        "InsertClientsQueue skip=4 queue=[Granny@3000:c2.Juice;Kid@1500:c4.Pad;]",
        "PauseGenerate skip=0",
        "SetRandom skip=0 seed=42",
        "GiveItem skip=0 names=[Client1,Client1] item=Towel",
        "ChargeLocation skip=0 name=Bar1",
    };
    EXPECT_EQ(describeActions(second), secondActions);
}

TEST_F(TutorialScriptTest, ReadsTheValueFormsOfTheFormat) {
    struct Case {
        const char* action;
        const char* expected;
    };
    const Case cases[] = {
        {"<Action Type=\"ControlPress\" Names=\" A ;; B\t;\r\n; \"/>",
         "ControlPress skip=0 names=[A,B]"},
        {R"(<Action Type="ControlPress"/>)", "ControlPress skip=0 names=[]"},
        {R"(<Action Type="ListItemPress" Items="1,2;x3 -4 5-6"/>)",
         "ListItemPress skip=0 list= items=[1,2,3,-4,5,-6]"},
        {R"(<Action Type="EnableLocation" Name="Pad"/>)",
         "EnableLocation skip=0 name=Pad enable=0"},
        {R"(<Action Type="EnableLocation" Enable="0"/>)", "EnableLocation skip=0 name= enable=0"},
        {R"(<Action Type="EnableLocation" Enable="1"/>)", "EnableLocation skip=0 name= enable=1"},
        {R"(<Action Type="EnableLocation" Enable="2"/>)", "EnableLocation skip=0 name= enable=0"},
        {R"(<Action Type="NextClient" AllowNext="1.0"/>)", "NextClient skip=0 allow=1"},
        {R"(<Action Type="ClientStateChanged" CheckCurrent="True"/>)",
         "ClientStateChanged skip=0 names=[] state=0 current=0"},
        {R"(<Action Type="LocationStateChanged" CheckCurrent="1"/>)",
         "LocationStateChanged skip=0 names=[] state=0 current=0"},
        {R"(<Action Type="PauseGenerate" SkipCount="3"/>)", "PauseGenerate skip=0"},
        {R"(<Action Type="Timed" SkipCount="-2"/>)", "Timed skip=0 ms=0"},
        {R"(<Action Type="SetRandom"/>)", "SetRandom skip=0 seed=134645756"},
        {R"(<Action Type="GiveItem"/>)", "GiveItem skip=0 names=[] item="},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> actions = actionsOf(c.action);
        ASSERT_EQ(actions.size(), 1u) << c.action;
        EXPECT_EQ(actions[0], c.expected) << c.action;
    }
}

TEST_F(TutorialScriptTest, SingleTagElementsAreCompleteAndTakeNothingAfterThem) {
    load(R"(<Tutorial><Hint/><Hint><Arrows/><Text Value="kept"/><Actions/>
             <Position Value="1;2"/><Actions>
               <Action Type="InsertClientsQueue" SkipCount="1"/>
               <Action Type="Timed" Time="5"/>
             </Actions></Hint></Tutorial>)");
    ASSERT_EQ(script->getHintCount(), 2u);
    EXPECT_TRUE(script->getHints()[0]->text.isEmpty());
    EXPECT_TRUE(script->getHints()[0]->actions.size() == 0);
    const GTutorialHint& hint = *script->getHints()[1];
    EXPECT_EQ(str(hint.text), "kept");
    EXPECT_EQ(vector(hint.position), "1;2;0");
    const std::vector<std::string> expected = {"InsertClientsQueue skip=1 queue=[]",
                                               "Timed skip=0 ms=5"};
    EXPECT_EQ(describeActions(hint), expected);
}

TEST_F(TutorialScriptTest, UnknownTypeAddsNothingAndNamesFileAndType) {
    testing::internal::CaptureStdout();
    const std::vector<std::string> actions =
        actionsOf(R"(<Action Type="timed"/><Action/><Action Type="MouseClick"/>)");
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(actions, std::vector<std::string>{"MouseClick skip=0"});
    EXPECT_NE(log.find("test.xml names an unknown action type: timed"), std::string::npos) << log;
}

TEST_F(TutorialScriptTest, DocumentShapes) {
    struct Case {
        const char* document;
        uint32_t hints;
        const char* firstText;
    };
    const Case cases[] = {
        {R"(<Hint><Text Value="before"/></Hint><Tutorial/><Hint/>)", 2, "before"},
        {R"(<Tutorial><Hint><Text Value=""/></Hint></Tutorial>)", 1, ""},
        {R"(<Tutorial><Hint><Text Value="a"/><Text Value="b"/></Hint></Tutorial>)", 1, "b"},
        {R"(<Tutorial><Hint><Text Value="cut"/><Actions><Action Type="Tim)", 1, "cut"},
        {R"(<Tutorial></Tutorial><Hint/>)", 0, nullptr},
        {"", 0, nullptr},
    };
    for (const Case& c : cases) {
        load(c.document);
        ASSERT_EQ(script->getHintCount(), c.hints) << c.document;
        if (c.firstText != nullptr) {
            EXPECT_EQ(str(script->getHints()[0]->text), c.firstText) << c.document;
        }
    }
}

TEST_F(TutorialScriptTest, ReloadingReplacesTheHintsAndKeepsUnnamedForcedItems) {
    load(R"(<Tutorial ForcedItemsForClients="Towel"><Hint/><Hint/></Tutorial>)");
    load(R"(<Tutorial><Hint/></Tutorial>)");
    EXPECT_EQ(script->getHintCount(), 1u);
    EXPECT_EQ(names(script->getForcedItemsForClients()), "[Towel]");
    load(R"(<Tutorial ForcedItemsForClients=""/>)");
    EXPECT_EQ(names(script->getForcedItemsForClients()), "[]");
    EXPECT_EQ(script->getHintCount(), 0u);
}

} // namespace
