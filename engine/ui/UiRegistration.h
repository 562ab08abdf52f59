#pragma once

class CNodeFactory;

// The registration of the libraries below, then the ui library's entries in the engine's
// factories: node factories that also make the ui library's nodes, the message box the scene
// manager opens, the particle emitter factory service and the content processors of particle
// collections ('prtc') and emitters ('pemt'). Calling it again changes nothing.
void registerUiLibrary();

// The ui library's node types, for the node factory of a library above that adds its own.
void registerUiNodeTypes(CNodeFactory& factory);
