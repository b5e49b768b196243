#include "speech/first_play_audio_output.h"

namespace quorvella {

FirstPlayAudioOutput::FirstPlayAudioOutput(Chooser chooser, QObject* parent)
    : AudioOutput(parent), m_chooser(std::move(chooser)) {}

FirstPlayAudioOutput::~FirstPlayAudioOutput() = default;

void FirstPlayAudioOutput::playingChanged() {
    if (!m_chosen) {
        if (!isPlaying()) {
            return;
        }
        m_chosen = m_chooser();
        if (!m_chosen) {
            m_chosen = std::make_unique<NullAudioOutput>();
        }
        m_chosen->attach(m_queue);
        connect(m_chosen.get(), &AudioOutput::textPlayed, this, &AudioOutput::textPlayed);
        connect(m_chosen.get(), &AudioOutput::wordPlayed, this, &AudioOutput::wordPlayed);
    }
    // The chosen output follows this one's state, one change at a time.
    if (m_chosen->isActive() != isActive()) {
        m_chosen->setActive(isActive());
    }
    if (m_chosen->isPaused() != isPaused()) {
        if (isPaused()) {
            m_chosen->pause();
        } else {
            m_chosen->resume();
        }
    }
}

void FirstPlayAudioOutput::dropHeldAudio() {
    if (m_chosen) {
        m_chosen->drop();
    }
}

} // namespace quorvella
