#pragma once

#include <cstdint>

using SystemSoundID = uint32_t;

// Plays a system sound; this device has no speaker or haptics, so it only logs the sound's
// number.
void AudioServicesPlaySystemSound(SystemSoundID sound);
