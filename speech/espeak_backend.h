#pragma once
// The espeak-ng synthesiser, loaded at run time, with its English voices (American first, then
// British Received Pronunciation, then the other accents). mbrola voices are left out. Its
// phoneme data is loaded when a voice is first used.

#include "speech/synthesis_backend.h"

#include <QByteArray>
#include <QList>
#include <memory>

namespace quorvella {

class EspeakBackend final : public SynthesisBackend {
public:
    struct Api; // espeak-ng's functions, in espeak_api.h

    // nullptr when espeak-ng cannot be loaded or offers no English voice.
    static std::unique_ptr<EspeakBackend> load();
    // A backend that calls api's functions (see espeak_api.h), with these voices: espeak-ng's
    // identifiers and the names shown for them, in the same order. load() makes its backend so.
    static std::unique_ptr<EspeakBackend> create(std::unique_ptr<Api> api,
                                                 QList<QByteArray> identifiers, QStringList names);
    ~EspeakBackend() override;

    QStringList voiceNames() const override;
    // Loads the phoneme data the first time; false when it cannot be loaded.
    bool prepare(int voice) override;
    // Throws SynthesisError, before a sample is made, when the voice cannot be selected or its
    // rate or pitch cannot be set, and when espeak-ng fails to speak the text. What the sink
    // throws comes out once espeak-ng has stopped.
    bool synthesize(int voice, const QString& text, const VoiceSettings& settings,
                    const SampleSink& sink, const WordSink& words) override;

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
