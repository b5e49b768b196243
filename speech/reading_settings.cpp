#include "speech/reading_settings.h"

namespace quorvella {

ReadingSettings::ReadingSettings(SpeechEngine& engine, WindowKind kind)
    : m_engine(engine), m_kind(kind) {
    m_speed.setChangeHandler([this] { m_engine.SetSpeed(m_speed.value()); });
    m_pitch.setChangeHandler([this] { m_engine.SetPitch(m_pitch.value()); });
    m_volume.setChangeHandler([this] { writeVolume(m_volume.value()); });
}

QString ReadingSettings::voiceItemText(int voice) {
    return QStringLiteral("第%1种声音").arg(voice);
}

int ReadingSettings::defaultSpeed() const {
    switch (m_kind) {
    case WindowKind::Lesson:
        return lessonSpeed;
    case WindowKind::NewWord:
    case WindowKind::Review:
        return wordSpeed;
    }
    return wordSpeed;
}

void ReadingSettings::fill() {
    const int count = m_engine.VoiceCount();
    m_voiceItems.clear();
    m_voiceNames.clear();
    for (int voice = 1; voice <= count; ++voice) {
        m_voiceItems << voiceItemText(voice);
        m_voiceNames << m_engine.VoiceName(voice);
    }
    selectFirstVoice();

    m_speed.setMaximum(m_engine.MaxSpeed());
    m_speed.setMinimum(m_engine.MinSpeed());
    switch (m_kind) {
    case WindowKind::Lesson:
        m_engine.SetSpeed(lessonSpeed);
        m_speed.setValue(lessonSpeed);
        break;
    case WindowKind::NewWord:
    case WindowKind::Review:
        m_speed.setValue(m_engine.Speed());
        break;
    }

    m_pitch.setMaximum(m_engine.MaxPitch());
    m_pitch.setMinimum(m_engine.MinPitch());
    m_pitch.setValue(m_engine.Pitch());

    m_volume.setMaximum(m_engine.MaxVolumeRight());
    m_volume.setMinimum(m_engine.MinVolumeRight());
    m_volume.setValue(m_engine.VolumeRight());
}

void ReadingSettings::pickVoice(int position) {
    selectVoice(position);
    m_engine.SelectVoice(position + 1);
}

void ReadingSettings::typeVoice(const QString& text) {
    m_voicePosition = static_cast<int>(m_voiceItems.indexOf(text));
    m_voiceText = text;
    m_engine.SelectVoice(m_voicePosition + 1);
}

void ReadingSettings::restoreVoice() {
    m_engine.SelectVoice(1);
    selectFirstVoice();
}

void ReadingSettings::restoreSpeed() {
    m_engine.SetSpeed(defaultSpeed());
    m_speed.setValue(defaultSpeed());
}

void ReadingSettings::restorePitch() {
    m_engine.SetPitch(defaultPitch);
    m_pitch.setValue(defaultPitch);
}

void ReadingSettings::restoreVolume() {
    writeVolume(defaultVolume);
    m_volume.setValue(defaultVolume);
}

void ReadingSettings::selectFirstVoice() {
    selectVoice(m_voiceItems.isEmpty() ? -1 : 0);
}

void ReadingSettings::selectVoice(int position) {
    if (position < 0 || position >= m_voiceItems.size()) {
        return;
    }
    m_voicePosition = position;
    m_voiceText = m_voiceItems[position];
}

void ReadingSettings::writeVolume(int volume) {
    m_engine.SetVolumeRight(volume);
    m_engine.SetVolumeLeft(volume);
}

} // namespace quorvella
