#pragma once
// Makes the engine a speaking window owns: the in-process engine on the default sound device,
// or on the null output when the machine has none. What the window does with it is its own.

#include "speech/speech_engine.h"

#include <memory>

namespace quorvella {

class AudioOutput;

// Chosen when audio first plays: the default device's output, or the null output when there is
// no device or it cannot be opened.
std::unique_ptr<AudioOutput> createAudioOutput();

// Starts loading the synthesisers on their own thread, so that they are ready by the time the
// first engine is made; the caller goes on at once.
void startLoadingSynthesisers();

// Reaches the default sound device now and keeps a corked stream of the program's on it until
// the returned output is destroyed. A sound server with no stream of ours may run far ahead of
// real time for a high-latency client, and then play the first stream to come a second or more
// late: held from start-up, the first word a learner chooses is heard at once. nullptr when
// there is no device.
std::unique_ptr<AudioOutput> holdSoundDevice();

// Throws AppError when no synthesiser can be loaded.
std::unique_ptr<SpeechEngine> createSpeechEngine(QObject* parent = nullptr);

} // namespace quorvella
