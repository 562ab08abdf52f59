#pragma once

#include "engine/core/Array.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/core/Vector3d.h"
#include "game/screens/TutorialAction.h"

class CXmlTextReader;
class GGameLevelScene;
class GWishListOrders;

// An arrow a hint points with: where it stands and its rotation, whose third component is the
// script's "Rotation" (the first two are always 0).
struct GTutorialArrow {
    CVector3d position;
    CVector3d rotation;
};

// One step of a tutorial: the text of its window and where the window stands, an optional
// picture and place of the heroine, its arrows and the actions that end it.
class GTutorialHint : public CRefCounted {
public:
    GTutorialHint() = default;

    // Reads the "Hint" element the reader stands on, through its end tag. Repeated fields
    // overwrite, repeated "Actions" and "Arrows" append.
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders);
    // Every action, in order, begins on the level (none on the map).
    void beginActions(GGameLevelScene* level);

    // A dictionary key between percent signs or a plain text; empty shows no window.
    CStringW text;
    CVector3d position;
    bool neliaShown = false;
    CVector3d neliaPosition;
    // A file below "scenes/images/Tutorial/"; empty for none.
    CString image;
    CArray<GTutorialArrow> arrows;
    CArray<CRefPointer<GTutorialAction>> actions;

protected:
    ~GTutorialHint() override = default;
};

// Appends the actions of the "Actions" element the reader stands on, through its end tag. A type
// that is not an action's is passed over with a warning.
void parseTutorialActions(GTutorialHint& hint, CXmlTextReader& reader,
                          GWishListOrders& wishListOrders);
// Appends the arrows of the "Arrows" element the reader stands on, through its end tag.
void parseTutorialArrows(GTutorialHint& hint, CXmlTextReader& reader);
