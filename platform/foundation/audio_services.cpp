#include "platform/foundation/audio_services.h"

#include "platform/foundation/log.h"

void AudioServicesPlaySystemSound(SystemSoundID sound) {
  NSLog("AudioServicesPlaySystemSound(%u)", sound);
}
