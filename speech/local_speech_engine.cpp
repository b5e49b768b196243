#include "speech/local_speech_engine.h"

#include "core/app_error.h"

#include <algorithm>

namespace quorvella {

LocalSpeechEngine::LocalSpeechEngine(std::unique_ptr<AudioOutput> output, SynthesisWorker& worker,
                                     QObject* parent)
    : SpeechEngine(parent), m_worker(worker), m_voices(worker.voices()),
      m_channel(std::make_shared<SpeechChannel>()), m_output(std::move(output)) {
    if (m_voices.empty()) {
        throw AppError(QStringLiteral(
            "No speech synthesiser could be loaded: install flite (libflite1) or espeak-ng "
            "(libespeak-ng1 and espeak-ng-data)"));
    }
    m_output->attach(&m_channel->queue);
    connect(m_output.get(), &AudioOutput::textPlayed, this, &LocalSpeechEngine::textPlayed);
    connect(m_output.get(), &AudioOutput::wordPlayed, this, [this](WordSpan word) {
        if (m_speaking) { // not a word of a text that was stopped
            emit WordReached(int(word.offset), int(word.length));
        }
    });
}

LocalSpeechEngine::~LocalSpeechEngine() {
    m_worker.stop(*m_channel);
}

// The text being spoken is kept; a text spoken over it waits for its end, and a newer one takes
// the place of a text still waiting, so that quick choices leave no backlog of speech.
void LocalSpeechEngine::SpeakText(const QString& text) {
    SpeechJob job;
    job.text = text;
    job.voice = m_voice - 1;
    job.settings = {m_speed, m_pitch};
    job.gainLeft = float(m_volumeLeft) / 65535.0F;
    job.gainRight = float(m_volumeRight) / 65535.0F;
    if (m_speaking) {
        m_waiting = std::move(job);
        return;
    }
    m_worker.speak(m_channel, job);
    m_speaking = true;
    m_output->setActive(true);
}

void LocalSpeechEngine::StopSpeech() {
    m_worker.stop(*m_channel);
    m_waiting.reset();
    m_speaking = false;
    m_output->setActive(false);
    m_output->drop();
}

void LocalSpeechEngine::PauseSpeech() {
    m_output->pause();
}

void LocalSpeechEngine::ResumeSpeech() {
    m_output->resume();
}

void LocalSpeechEngine::SelectVoice(int voice) {
    if (voice >= 1 && voice <= VoiceCount()) {
        m_voice = voice;
    }
}

void LocalSpeechEngine::SetSpeed(int speed) {
    m_speed = std::clamp(speed, MinSpeed(), MaxSpeed());
}

void LocalSpeechEngine::SetPitch(int pitch) {
    m_pitch = std::clamp(pitch, MinPitch(), MaxPitch());
}

void LocalSpeechEngine::SetVolumeRight(int volume) {
    m_volumeRight = std::clamp(volume, MinVolumeRight(), MaxVolumeRight());
}

void LocalSpeechEngine::SetVolumeLeft(int volume) {
    m_volumeLeft = std::clamp(volume, MinVolumeRight(), MaxVolumeRight());
}

void LocalSpeechEngine::textPlayed() {
    if (!m_speaking) {
        return; // the end of a text that was stopped
    }
    if (m_waiting) {
        m_worker.speak(m_channel, *m_waiting);
        m_waiting.reset();
    } else {
        m_speaking = false;
        m_output->setActive(false);
    }
    emit TextDataDone();
}

} // namespace quorvella
