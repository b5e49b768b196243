#include "speech/speech_engine_factory.h"

#include "speech/device_audio_output.h"
#include "speech/first_play_audio_output.h"
#include "speech/local_speech_engine.h"

namespace quorvella {

std::unique_ptr<AudioOutput> createAudioOutput() {
    return std::make_unique<FirstPlayAudioOutput>([]() -> std::unique_ptr<AudioOutput> {
        if (auto device = DeviceAudioOutput::open()) {
            return device;
        }
        return std::make_unique<NullAudioOutput>();
    });
}

std::unique_ptr<AudioOutput> holdSoundDevice() {
    return DeviceAudioOutput::open(); // an output that never plays keeps its spare stream
}

void startLoadingSynthesisers() {
    SynthesisWorker::instance();
}

std::unique_ptr<SpeechEngine> createSpeechEngine(QObject* parent) {
    return std::make_unique<LocalSpeechEngine>(createAudioOutput(), SynthesisWorker::instance(),
                                               parent);
}

} // namespace quorvella
