#include "platform/preferences/system/audio_services.h"

#include "platform/foundation/log.h"

void AudioServicesPlaySystemSound(SystemSoundID sound) {
  NSLog("AudioServicesPlaySystemSound(%u)", sound);
}
