#pragma once

#include "engine/core/String.h"

// The per-user base folders of the XDG base directory rules, absolute and without a trailing
// separator. A variable that is unset, empty or relative is ignored, as the rules ask; the
// default then lies below the home folder ($HOME, else the account's entry). Empty when no
// home folder is known either.

// $XDG_DATA_HOME, else ~/.local/share.
CStringW xdgDataHome();
// $XDG_STATE_HOME, else ~/.local/state.
CStringW xdgStateHome();
