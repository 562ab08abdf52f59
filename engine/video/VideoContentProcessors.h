#pragma once

#include "engine/io/ContentProcessorsManager.h"

// Fills the entries of the content types whose classes live in the video library: images
// ('imag'), image textures ('itex'), atlas textures ('atex') and atlas collections ('atxc').
void registerVideoContentProcessors(ContentProcessorFactories& factories);
