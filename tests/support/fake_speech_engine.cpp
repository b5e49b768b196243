#include "tests/support/fake_speech_engine.h"

#include "core/app_error.h"

namespace quorvella {

void FakeSpeechEngine::record(const QString& name, const QString& call) {
    if (failing.contains(name)) {
        throw AppError(QStringLiteral("%1 failed").arg(name));
    }
    calls << call;
}

void FakeSpeechEngine::SpeakText(const QString& text) {
    record(QStringLiteral("SpeakText"), QStringLiteral("SpeakText(%1)").arg(text));
}

void FakeSpeechEngine::StopSpeech() {
    record(QStringLiteral("StopSpeech"), QStringLiteral("StopSpeech"));
}

void FakeSpeechEngine::PauseSpeech() {
    record(QStringLiteral("PauseSpeech"), QStringLiteral("PauseSpeech"));
}

void FakeSpeechEngine::ResumeSpeech() {
    record(QStringLiteral("ResumeSpeech"), QStringLiteral("ResumeSpeech"));
}

void FakeSpeechEngine::SelectVoice(int value) {
    record(QStringLiteral("SelectVoice"), QStringLiteral("SelectVoice(%1)").arg(value));
    voice = value;
}

void FakeSpeechEngine::SetSpeed(int value) {
    record(QStringLiteral("Speed"), QStringLiteral("Speed=%1").arg(value));
    speed = value;
}

void FakeSpeechEngine::SetPitch(int value) {
    record(QStringLiteral("Pitch"), QStringLiteral("Pitch=%1").arg(value));
    pitch = value;
}

void FakeSpeechEngine::SetVolumeRight(int value) {
    record(QStringLiteral("VolumeRight"), QStringLiteral("VolumeRight=%1").arg(value));
    volumeRight = value;
}

void FakeSpeechEngine::SetVolumeLeft(int value) {
    record(QStringLiteral("VolumeLeft"), QStringLiteral("VolumeLeft=%1").arg(value));
    volumeLeft = value;
}

} // namespace quorvella
