#pragma once
// An output that chooses where the audio goes when audio first plays, and from then on plays
// there: no sound server is reached and no stream made by an engine that never speaks. What it
// chooses is left to the chooser it is given; a chooser that gives nothing leaves the audio
// unheard, played on a silent output at its own pace.

#include "speech/audio_output.h"

#include <functional>
#include <memory>

namespace quorvella {

class FirstPlayAudioOutput final : public AudioOutput {
    Q_OBJECT

public:
    using Chooser = std::function<std::unique_ptr<AudioOutput>()>;

    explicit FirstPlayAudioOutput(Chooser chooser, QObject* parent = nullptr);
    ~FirstPlayAudioOutput() override;

    // The output chosen, nullptr until audio has played.
    AudioOutput* chosen() const { return m_chosen.get(); }

protected:
    void playingChanged() override;
    void dropHeldAudio() override;

private:
    Chooser m_chooser;
    std::unique_ptr<AudioOutput> m_chosen;
};

} // namespace quorvella
