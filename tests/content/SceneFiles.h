#pragma once

#include <set>
#include <string>
#include <vector>

#include "content/ContentFiles.h"

// Scene files read as XML trees: each "SceneNode" element is a node, its "Properties" child
// holds its values and its "States" child its named states.
namespace scene_files {

using content_files::XmlElement;

// The node types that the engine's node factory creates, and those of them that are controls
// (only controls pass mouse and keyboard input on to their children).
inline const std::set<std::string>& engineNodeTypes() {
    static const std::set<std::string> types = {"BaseNode",        "TemplateCollectionNode",
                                                "SpriteNode",      "NineGridSpriteNode",
                                                "TextNode",        "ControlNode",
                                                "ButtonNode",      "BackButtonNode",
                                                "CheckBoxNode",    "EditNode",
                                                "ListNode",        "SliderNode",
                                                "ProgressBarNode", "SceneNode",
                                                "TabSceneNode",    "ParticleSystemNode",
                                                "SoundNode",       "SpawnerNode"};
    return types;
}

inline bool isControlType(const std::string& type) {
    static const std::set<std::string> controls = {
        "ControlNode", "ButtonNode", "BackButtonNode",  "CheckBoxNode", "EditNode",
        "ListNode",    "SliderNode", "ProgressBarNode", "SceneNode",    "TabSceneNode"};
    return controls.count(type) != 0;
}

// Whether a node of type may stand where kind is asked for (its own type or one it derives
// from); an empty kind takes any node.
inline bool isKindOf(const std::string& type, const std::string& kind) {
    if (kind.empty() || kind == type) {
        return true;
    }
    if (kind == "ControlNode") {
        return isControlType(type);
    }
    if (kind == "ButtonNode") {
        return type == "BackButtonNode" || type == "CheckBoxNode";
    }
    return false;
}

inline std::vector<const XmlElement*> childNodes(const XmlElement& node) {
    std::vector<const XmlElement*> children;
    for (const XmlElement& child : node.children) {
        if (child.name == "SceneNode") {
            children.push_back(&child);
        }
    }
    return children;
}

// The value element of a property in the node's own "Properties"; null when it has none.
inline const XmlElement* findProperty(const XmlElement& node, const std::string& name) {
    for (const XmlElement& block : node.children) {
        if (block.name != "Properties") {
            continue;
        }
        for (const XmlElement& value : block.children) {
            if (value.attribute("Name") == name) {
                return &value;
            }
        }
    }
    return nullptr;
}

inline std::string property(const XmlElement& node, const std::string& name) {
    const XmlElement* value = findProperty(node, name);
    return value ? value->attribute("Value") : std::string();
}

inline std::string nodeName(const XmlElement& node) {
    return property(node, "Name");
}

inline std::set<std::string> stateNames(const XmlElement& node) {
    std::set<std::string> names;
    for (const XmlElement& block : node.children) {
        if (block.name == "States") {
            for (const XmlElement& state : block.children) {
                if (state.name == "State") {
                    names.insert(state.attribute("Name"));
                }
            }
        }
    }
    return names;
}

inline const XmlElement* findChild(const XmlElement& node, const std::string& name) {
    for (const XmlElement* child : childNodes(node)) {
        if (nodeName(*child) == name) {
            return child;
        }
    }
    return nullptr;
}

// The node at a path of direct-child names separated by '/', below node; null when a step is
// missing.
inline const XmlElement* findPath(const XmlElement& node, const std::string& path) {
    const XmlElement* current = &node;
    size_t start = 0;
    while (current && start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        current = findChild(*current, path.substr(start, end - start));
        start = end + 1;
    }
    return current;
}

} // namespace scene_files
