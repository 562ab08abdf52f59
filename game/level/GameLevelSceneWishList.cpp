#include <algorithm>
#include <utility>

#include "game/level/GameLevelScene.h"

// The wish list of a client that comes from the level's queue: its orders grouped into waves by
// their resources' WaveIndex, closed by the check-out.

namespace {

struct UsableOrder {
    const GClientOrder* order;
    const GResourceConfig* resource;
};

// Compared unsigned, so that a negative wave comes after every other.
uint32_t waveOf(const UsableOrder& usable) {
    return uint32_t(usable.resource->waveIndex);
}

// The time range of the order resource's own additional item of that name; 0 to 0 without one.
GTimeRange configuredRange(const GResourceConfig& resource, CNameId item) {
    for (const GAdditionalItem& own : resource.additionalItems) {
        if (own.name == item)
            return own.timeRange;
    }
    return {};
}

// The client draws a random time between the two ends, which must come low to high.
GTimeRange lowToHigh(GTimeRange range) {
    if (range.from > range.to)
        std::swap(range.from, range.to);
    return range;
}

CRefPointer<GClientWishList> makeLeaf(GClientWishList* group, const UsableOrder& usable) {
    CRefPointer<GClientWishList> leaf(new GClientWishList(group));
    leaf->name = usable.order->resource;
    for (const GOrderItem& item : usable.order->items) {
        if (!item.enabled)
            continue;
        GAdditionalItem wished;
        wished.name = item.name;
        wished.modifications = item.modifications;
        wished.timeRange = lowToHigh(
            item.configuredRange ? configuredRange(*usable.resource, item.name) : item.timeRange);
        wished.probability = 1.0f;
        leaf->additionalItems.append(std::move(wished));
    }
    return leaf;
}

} // namespace

CRefPointer<GClientWishList>
GGameLevelScene::buildWishList(const CArray<GClientOrder>& orders) const {
    CRefPointer<GClientWishList> root(new GClientWishList(nullptr));
    CArray<UsableOrder> usable;
    for (const GClientOrder& order : orders) {
        const GResourceConfig* resource =
            m_objectConfigs ? m_objectConfigs->getResourceConfig(order.resource) : nullptr;
        if (resource != nullptr)
            usable.append({&order, resource});
    }
    // Stable, so that orders of one wave keep the queue's order.
    std::stable_sort(usable.begin(), usable.end(), [](const UsableOrder& a, const UsableOrder& b) {
        return waveOf(a) < waveOf(b);
    });
    CRefPointer<GClientWishList> group;
    for (uint32_t i = 0; i < usable.size(); ++i) {
        // The first order opens a group whatever its wave, even the -1 the grouping starts from.
        if (i == 0 || waveOf(usable[i]) != waveOf(usable[i - 1])) {
            group = CRefPointer<GClientWishList>(new GClientWishList(root.get()));
            root->appendChild(group);
        }
        group->appendChild(makeLeaf(group.get(), usable[i]));
    }
    if (usable.size() > 0) {
        CRefPointer<GClientWishList> checkOut(new GClientWishList(root.get()));
        checkOut->name = CNameId(CString("CheckOut"));
        root->appendChild(checkOut);
    }
    return root;
}
