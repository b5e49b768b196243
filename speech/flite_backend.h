#pragma once
// The flite synthesiser, loaded at run time, with the voices rms, slt, kal16 and awb: the
// clearest of the engine's voices. A voice whose library is missing is left out; a voice is made
// when it is first used.

#include "speech/synthesis_backend.h"

#include <memory>
#include <vector>

namespace quorvella {

class FliteBackend final : public SynthesisBackend {
public:
    // nullptr when flite or every one of its voices is missing.
    static std::unique_ptr<FliteBackend> load();
    ~FliteBackend() override;

    QStringList voiceNames() const override;
    bool prepare(int voice) override;
    bool synthesize(int voice, const QString& text, const VoiceSettings& settings,
                    const SampleSink& sink, const WordSink& words) override;

    struct Api;
    struct Voice;

private:
    FliteBackend() = default;

    std::unique_ptr<Api> m_api;
    std::vector<Voice> m_voices;
};

} // namespace quorvella
