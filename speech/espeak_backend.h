#pragma once
// The espeak-ng synthesiser, loaded at run time, with its English voices (American first, then
// British Received Pronunciation, then the other accents). mbrola voices are left out. Its
// phoneme data is loaded when a voice is first used.

#include "speech/synthesis_backend.h"

#include <memory>

namespace quorvella {

class EspeakBackend final : public SynthesisBackend {
public:
    // nullptr when espeak-ng cannot be loaded or offers no English voice.
    static std::unique_ptr<EspeakBackend> load();
    ~EspeakBackend() override;

    QStringList voiceNames() const override;
    // Loads the phoneme data the first time; false when it cannot be loaded.
    bool prepare(int voice) override;
    bool synthesize(int voice, const QString& text, const VoiceSettings& settings,
                    const SampleSink& sink, const WordSink& words) override;

    struct Api;

private:
    EspeakBackend() = default;

    std::unique_ptr<Api> m_api;
    QStringList m_names;
    QList<QByteArray> m_identifiers;
    enum class State { Listed, Ready, Unusable };
    State m_state = State::Listed;
    int m_sampleRate = 22050;
};

} // namespace quorvella
