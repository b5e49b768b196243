#pragma once
// A speech engine for logic and widget tests: records every call in order, lets a test fire
// TextDataDone and WordReached, and can be told to make a call fail. It makes no sound.

#include "speech/speech_engine.h"

#include <QSet>
#include <QStringList>

namespace quorvella {

class FakeSpeechEngine final : public SpeechEngine {
    Q_OBJECT

public:
    explicit FakeSpeechEngine(QObject* parent = nullptr) : SpeechEngine(parent) {}

    // Every call so far, in order, as "SpeakText(text)", "StopSpeech", "PauseSpeech",
    // "ResumeSpeech", "SelectVoice(n)", "Speed=n", "Pitch=n", "VolumeRight=n", "VolumeLeft=n".
    QStringList calls;
    // Names of calls that throw AppError instead of acting ("SpeakText", "Speed", ...).
    QSet<QString> failing;

    int voiceCount = 3;
    int voice = 1;
    int speed = 170, minSpeed = 80, maxSpeed = 450;
    int pitch = 169, minPitch = 50, maxPitch = 300;
    int volumeRight = 65535, volumeLeft = 65535, minVolume = 0, maxVolume = 65535;

    void fireTextDataDone() { emit TextDataDone(); }
    void fireWordReached(int offset, int length) { emit WordReached(offset, length); }

    void SpeakText(const QString& text) override;
    void StopSpeech() override;
    void PauseSpeech() override;
    void ResumeSpeech() override;
    void SelectVoice(int voice) override;
    int VoiceCount() const override { return voiceCount; }
    QString VoiceName(int n) const override { return QStringLiteral("fake voice %1").arg(n); }
    int Speed() const override { return speed; }
    void SetSpeed(int value) override;
    int MinSpeed() const override { return minSpeed; }
    int MaxSpeed() const override { return maxSpeed; }
    int Pitch() const override { return pitch; }
    void SetPitch(int value) override;
    int MinPitch() const override { return minPitch; }
    int MaxPitch() const override { return maxPitch; }
    int VolumeRight() const override { return volumeRight; }
    void SetVolumeRight(int value) override;
    void SetVolumeLeft(int value) override;
    int MinVolumeRight() const override { return minVolume; }
    int MaxVolumeRight() const override { return maxVolume; }

private:
    void record(const QString& name, const QString& call);
};

} // namespace quorvella
