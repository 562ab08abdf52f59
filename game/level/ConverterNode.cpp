#include "game/level/ConverterNode.h"

void GConverterNode::setLevel(GGameLevelScene* level) {
    GLocationNode::setLevel(level);
    if (getConfig() == nullptr)
        return;
    editResources().clear();
    updateCapacityDisplay();
    setState(kStateNeedsRecharge);
}

bool GConverterNode::canRecharge() const {
    return getResources().size() == 0 || GLocationNode::canRecharge();
}

const LocationResource* GConverterNode::findProductOf(CNameId item) const {
    const ObjectConfigurations* configs = getConfigs();
    if (getConfig() == nullptr || configs == nullptr || item == CNameId())
        return nullptr;
    for (const LocationResource& offered : getConfig()->providedResources) {
        const GResourceConfig* product = configs->getResourceConfig(offered.name);
        if (product != nullptr && product->convertsFrom == item)
            return &offered;
    }
    return nullptr;
}

bool GConverterNode::acceptsItem(CNameId item) const {
    if (getResources().size() != 0 && !canRecharge())
        return false;
    return findProductOf(item) != nullptr;
}

bool GConverterNode::takeItem(GCharacterNode*, const GResourceConfig* item) {
    CArray<LocationResource>& resources = editResources();
    resources.clear();
    const LocationResource* product = item != nullptr ? findProductOf(item->name) : nullptr;
    if (product == nullptr)
        return false;
    LocationResource entry = *product;
    entry.amount = 0;
    resources.append(entry);
    return true;
}

void GConverterNode::showWithProduct(const char* state) {
    if (getResources().size() != 0)
        setChildrenState(CNameId(CString(state).append(getResources()[0].name.toString())),
                         nullptr);
}

void GConverterNode::showRecharging() {
    showWithProduct("Recharging");
}

void GConverterNode::showRechargeEnded() {
    showWithProduct("RechargeEnded");
}
