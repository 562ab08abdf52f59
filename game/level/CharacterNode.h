#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/Vector2d.h"
#include "engine/scene/NodeClass.h"
#include "game/level/ObjectNode.h"

// The base of everything that walks on the play field: clients, staff and the hero. It walks a
// line of points at its "Velocity" (scene units per second) on the clock of the scene that owns
// it, turns its eight-direction move animation at every corner, keeps its depth in step with
// its position (y + 0.1 x, so that lower characters, and on one line those further right, draw
// in front), stands when it arrives, and tells its subclass when a walk starts and ends.
//
// Animations are states of its children: "Start" as a walk begins, "Stand" as it ends, and one
// move state per direction ("MoveRight", "MoveRightUp", "MoveUp", "MoveLeftUp", "MoveLeft",
// "MoveLeftDown", "MoveDown", "MoveRightDown").
class GCharacterNode : public NodeClass<GCharacterNode, GObjectNode> {
public:
    static constexpr uint32_t kTypeId = 1147;
    static constexpr const char16_t* kTypeName = u"GCharacterNode";
    static constexpr uint32_t kTickMs = 20;
    static constexpr float kDefaultVelocity = 250.0f;

    GCharacterNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();
    // The direction's sector of eight around the screen, 0 "MoveRight" counter-clockwise to 7
    // "MoveRightDown", with 8 the right again below the horizontal; a zero vector is 0, and an
    // angle that comes out at 360 degrees (or is not a number) has none (-1).
    static int32_t directionSector(const CVector2d& direction);
    // The move animation of a sector of directionSector.
    static CNameId moveAnimation(int32_t sector);

    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    // "Velocity" only when it is not 250.
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;
    // Walks on; false, so that the scheduler lets go of it, once the character has left its
    // level's tree, which would otherwise keep it ticking for ever.
    bool OnUpdate(uint32_t elapsedMs) override;
    // Also moves the walking tick onto the clock of the scene that owns the character, ends a
    // walk where it stands and puts the depth in step with the position.
    void setLevel(GGameLevelScene* level) override;

    // The characters' own operations, which clients and staff continue.

    // Plays the move animation of the direction when it is not the one playing.
    virtual void setDirection(const CVector2d& direction);
    virtual void onWalkStarted() {}
    virtual void onWalkFinished() {}

    // Walks the path that the level's walk grid finds between the points; smooth as the grid's
    // search takes it. A character without a level walks nothing and stays (both hooks run).
    bool walkTo(const CVector2d& from, const CVector2d& to, bool smooth);
    // Walks the points from the last to the first, or, when keepOrder is false, from the first
    // to the last. With fewer than two both hooks run at once and the character stays. True.
    bool startWalk(const CArray<CVector2d>& points, bool keepOrder);
    // Ends the walk where the character stands and plays "Stand".
    void stopWalk();

    float getVelocity() const { return m_velocity; }
    // A negative or unending velocity is refused with a warning: with it the character would
    // walk away for ever.
    void setVelocity(float velocity);
    // The points still to walk, the destination first; the last is the point the character
    // walks from.
    const CArray<CVector2d>& getPath() const { return m_path; }
    bool isWalking() const { return m_path.size() >= 2; }
    // The children state the walk played last; the empty name before any.
    CNameId getCurrentAnimation() const { return m_currentAnimation; }

protected:
    ~GCharacterNode() override = default;

    // Makes the name the current animation and plays it on the children.
    void playAnimation(CNameId name);
    // Drops the rest of the walk where the character stands, telling nobody.
    void abandonWalk() { m_path.clear(); }

private:
    void placeAt(const CVector2d& point);
    // Passes the corners that the progress has reached; false once the walk has ended.
    bool passCorners();

    float m_velocity = kDefaultVelocity;
    CArray<CVector2d> m_path;
    float m_progress = 0;
    CNameId m_currentAnimation;
};
