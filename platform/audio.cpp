// Choosing the audio back end.
#include "platform/audio.h"

#include <cstdlib>
#include <cstring>

namespace {
const AudioDriver* g_audio = nullptr;
}

const AudioDriver* audio() {
  if (!g_audio) {
    const char* choice = std::getenv("QUILL_AUDIO");
    g_audio = (choice && std::strcmp(choice, "headless") == 0) ? headlessAudioDriver() : sdlAudioDriver();
  }
  return g_audio;
}

void selectAudio(const AudioDriver* driver) { g_audio = driver; }
