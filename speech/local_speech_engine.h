#pragma once
// The speech engine that speaks in this process: flite's and espeak-ng's voices through the
// synthesis worker, played by an output of its own. Which output is chosen is left to its maker.

#include "speech/audio_output.h"
#include "speech/speech_engine.h"
#include "speech/synthesis_worker.h"

#include <memory>
#include <optional>

namespace quorvella {

class LocalSpeechEngine final : public SpeechEngine {
    Q_OBJECT

public:
    // Throws AppError when no synthesiser offers a voice.
    explicit LocalSpeechEngine(std::unique_ptr<AudioOutput> output,
                               SynthesisWorker& worker = SynthesisWorker::instance(),
                               QObject* parent = nullptr);
    ~LocalSpeechEngine() override;

    void SpeakText(const QString& text) override;
    void StopSpeech() override;
    void PauseSpeech() override;
    void ResumeSpeech() override;

    // A number outside 1..VoiceCount keeps the current voice.
    void SelectVoice(int voice) override;
    int VoiceCount() const override { return int(m_voices.size()); }
    int Voice() const { return m_voice; }
    QString VoiceName(int voice) const override {
        return voice >= 1 && voice <= VoiceCount() ? m_voices[std::size_t(voice - 1)].name
                                                   : QString();
    }

    // Values outside a range are limited to it.
    int Speed() const override { return m_speed; }
    void SetSpeed(int speed) override;
    int MinSpeed() const override { return 80; }
    int MaxSpeed() const override { return 450; }

    int Pitch() const override { return m_pitch; }
    void SetPitch(int pitch) override;
    int MinPitch() const override { return 50; }
    int MaxPitch() const override { return 300; }

    int VolumeRight() const override { return m_volumeRight; }
    int VolumeLeft() const { return m_volumeLeft; }
    void SetVolumeRight(int volume) override;
    void SetVolumeLeft(int volume) override;
    int MinVolumeRight() const override { return 0; }
    int MaxVolumeRight() const override { return 65535; }

    AudioOutput& output() const { return *m_output; }
    // Whether a text is being spoken (and another may wait for it).
    bool isSpeaking() const { return m_speaking; }

private:
    void textPlayed();

    SynthesisWorker& m_worker;
    std::vector<VoiceInfo> m_voices;
    std::shared_ptr<SpeechChannel> m_channel;
    std::unique_ptr<AudioOutput> m_output;
    int m_voice = 1;
    int m_speed = 170;
    int m_pitch = 169;
    int m_volumeRight = 65535;
    int m_volumeLeft = 65535;
    bool m_speaking = false;            // a text is being spoken
    std::optional<SpeechJob> m_waiting; // the text to speak after it
};

} // namespace quorvella
