#pragma once

// Registers the scene library's services, and those of the libraries below it: the node
// factory, the scene manager and the scene-file processor.
void registerSceneLibrary();
