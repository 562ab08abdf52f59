#pragma once

// Scene files name the class of every node; the node factory makes a game class only once it
// is registered under its type name.

// The scenes the start-up registers before the intro has registered the rest: the debug
// statistics, the logos and the intro.
void registerStartupSceneClasses();
// The game's scene and node classes, in the order of the game's class list; run by the
// intro's first loading step, before any scene file with game nodes is loaded.
void registerGameClasses();
