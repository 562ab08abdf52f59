#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/core/PropertyContent.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Scheduler.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/scene/SceneNode.h"
#include "tests/scene/SceneTestNodes.h"
#include "tests/scene/SceneXmlFixtures.h"

// An atlas frame named like "walk0005.png": base name, four digits, extension.
class FakeAtlasTexture : public IPropertyAtlasTexture {
public:
    FakeAtlasTexture(IPropertyContentSource* source, const std::u16string& name)
        : m_source(source), m_name(name.c_str()), m_base(name.substr(0, name.size() - 8).c_str()),
          m_frame(std::stoi(std::string(name.end() - 8, name.end() - 4))),
          m_extension(name.substr(name.size() - 4).c_str()) {}

    IPropertyContentSource* getContentSource() const override { return m_source; }
    const CStringW& getContentName() const override { return m_name; }
    const CStringW& getBaseName() const override { return m_base; }
    int32_t getFrameNumber() const override { return m_frame; }
    const CStringW& getExtension() const override { return m_extension; }

private:
    IPropertyContentSource* m_source;
    CStringW m_name;
    CStringW m_base;
    int32_t m_frame;
    CStringW m_extension;
};

// Hands out one fake frame per name and counts the loads.
class FakeAtlasSource : public IPropertyContentSource {
public:
    CRefPointer<IPropertyContent> loadContent(uint32_t, const CStringW& name, bool) override {
        ++loads;
        const std::u16string key(name.c_str());
        if (key.size() < 9)
            return nullptr;
        CRefPointer<FakeAtlasTexture>& frame = m_frames[key];
        if (!frame)
            frame = CRefPointer<FakeAtlasTexture>(new FakeAtlasTexture(this, key));
        return frame;
    }
    CStringW relativeContentPath(const CStringW& name) override { return name; }

    int loads = 0;

private:
    std::map<std::u16string, CRefPointer<FakeAtlasTexture>> m_frames;
};

// A logging node with properties of the types the base classes lack: an int, a float and an
// atlas frame. It records the completions its states' actions report.
class AnimatedNode : public LoggingNode {
public:
    struct Finish {
        int32_t time;
        bool looped;
    };

    using LoggingNode::LoggingNode;

    const PropertyTable& getPropertyTable() const override {
        static const PropertyTable table = extendPropertyTable(
            BaseNode::classPropertyTable(),
            {fieldProperty<&AnimatedNode::level>("Level"),
             fieldProperty<&AnimatedNode::alpha>("Alpha"),
             accessorProperty<&AnimatedNode::getFrame, &AnimatedNode::setFrame>("Frame")});
        return table;
    }
    bool OnActionFinished(CEventNodeActionFinished& event) override {
        finishes.push_back({event.getTime(), event.isLooped()});
        return LoggingNode::OnActionFinished(event);
    }

    IPropertyAtlasTexture* getFrame() const { return frame.get(); }
    void setFrame(IPropertyAtlasTexture* texture) {
        frame = CRefPointer<IPropertyAtlasTexture>::share(texture);
    }
    std::string frameName() const {
        return frame ? std::string(CString(frame->getContentName().c_str()).c_str()) : "";
    }

    int32_t level = 0;
    float alpha = 0;
    CRefPointer<IPropertyAtlasTexture> frame;
    std::vector<Finish> finishes;
};

// A scene with a clock of its own, advanced by hand, and a parent node under it whose events
// are logged; states are read from XML with the engine's action types.
class AnimationTest : public ::testing::Test {
protected:
    AnimationTest() {
        scene->setClock(clock.get());
        scene->setScene(nullptr, scene.get());
        scene->appendChild(parent.get());
    }

    CRefPointer<AnimatedNode> makeChild(const char* name = "c", BaseNode* under = nullptr) {
        return makeNode<AnimatedNode>(name, under != nullptr ? under : parent.get(), &log);
    }
    CRefPointer<NodeState> readState(const std::u16string& xml) {
        const CRefPointer<CXmlTextReader> reader = readerOver(xml);
        EXPECT_TRUE(moveToElement(*reader, u"State"));
        return NodeState::readXml(*reader, *factory, &atlas);
    }
    void addState(BaseNode& node, const std::u16string& xml) {
        node.addState(readState(xml).get());
    }
    void tick(uint32_t ms) { clock->update(ms); }

    EventLog log;
    FakeAtlasSource atlas;
    CRefPointer<CNodeFactory> factory{new CNodeFactory()};
    CRefPointer<CScheduler> clock{new CScheduler()};
    CRefPointer<SceneNode> scene{new SceneNode(CContentKey(), nullptr, nullptr)};
    CRefPointer<LoggingNode> parent{new LoggingNode("p", nullptr, &log)};
};
