#pragma once

#include "engine/core/EventReceiver.h"
#include "engine/core/String.h"

// The audio driver that the device creates and registers as a receiver, and that the sound
// player and the sound content play through.
class IAudioDriver : public CEventReceiver {
public:
    // For the log line that names the driver in use.
    virtual CString getName() const = 0;
};
