#pragma once
// The espeak-ng synthesiser, loaded at run time, with its English voices (American first, then
// British Received Pronunciation, then the other accents). mbrola voices are left out.

#include "speech/synthesis_backend.h"

#include <memory>

namespace quorvella {

class EspeakBackend final : public SynthesisBackend {
public:
    // nullptr when espeak-ng or its data cannot be loaded, or it offers no English voice.
    static std::unique_ptr<EspeakBackend> load();
    ~EspeakBackend() override;

    QStringList voiceNames() const override;
    bool synthesize(int voice, const QString& text, const VoiceSettings& settings,
                    const SampleSink& sink, const WordSink& words) override;

    struct Api;

private:
    EspeakBackend() = default;

    std::unique_ptr<Api> m_api;
    QStringList m_names;
    QList<QByteArray> m_identifiers;
    int m_sampleRate = 22050;
};

} // namespace quorvella
