#pragma once
// The espeak-ng functions that its backend calls: looked up in the library when it is loaded, or
// given by a test. Calling them in the right order is left to the backend.

#include "speech/espeak_backend.h"

#include <cstddef>
#include <espeak-ng/speak_lib.h>

namespace quorvella {

struct EspeakBackend::Api {
    void* library = nullptr; // the library the functions are in; none for functions of our own
    int (*initializePath)(const char*) = nullptr;
    int (*initialize)(espeak_AUDIO_OUTPUT, int, const char*, int) = nullptr;
    void (*setSynthCallback)(t_espeak_callback*) = nullptr;
    const espeak_VOICE** (*listVoices)(espeak_VOICE*) = nullptr;
    espeak_ERROR (*setVoiceByName)(const char*) = nullptr;
    espeak_ERROR (*setParameter)(espeak_PARAMETER, int, int) = nullptr;
    espeak_ERROR (*synth)(const void*, size_t, unsigned int, espeak_POSITION_TYPE, unsigned int,
                          unsigned int, unsigned int*, void*) = nullptr;
    espeak_ERROR (*terminate)() = nullptr;
};

} // namespace quorvella
