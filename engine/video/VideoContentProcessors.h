#pragma once

#include "engine/io/ContentProcessorsManager.h"

// Fills the entries of the content types whose classes live in the video library: images
// ('imag'), image textures ('itex'), atlas textures ('atex'), atlas collections ('atxc') and
// fonts ('font').
void registerVideoContentProcessors(ContentProcessorFactories& factories);
