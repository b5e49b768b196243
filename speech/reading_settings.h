#pragma once
// The reading settings of one window: the voice list and the speed, pitch and volume fields bound
// to that window's speech engine, how they are filled, restored and passed on. Widgets are left to
// ReadingSettingsGroup.

#include "speech/speech_engine.h"
#include "speech/spin_field.h"

#include <QString>
#include <QStringList>

namespace quorvella {

// The windows that carry the group; they differ in the speed written at creation and restored.
enum class WindowKind { Lesson, NewWord, Review };

class ReadingSettings final {
public:
    static constexpr int speedStep = 5;
    static constexpr int pitchStep = 5;
    static constexpr int volumeStep = 5000;
    static constexpr int lessonSpeed = 150;
    static constexpr int wordSpeed = 170;
    static constexpr int defaultPitch = 169;
    static constexpr int defaultVolume = 65535;

    // Binds the fields' change handlers to engine at once, so that they pass values on even when
    // the window never fills the group.
    ReadingSettings(SpeechEngine& engine, WindowKind kind);
    ReadingSettings(const ReadingSettings&) = delete;
    ReadingSettings& operator=(const ReadingSettings&) = delete;

    // "第<n>种声音", the voice list's item for voice n.
    static QString voiceItemText(int voice);

    WindowKind kind() const { return m_kind; }
    // The speed the window writes at creation (the lesson window) and restores.
    int defaultSpeed() const;

    // Fills the group from the engine, as the last step of the window's creation: voice items,
    // the first item selected without telling the engine, then speed, pitch and volume. An
    // engine error escapes to the caller; what was filled before it stays.
    void fill();

    // The voice list: its items, the selected position (-1 for none) and the text it shows.
    const QStringList& voiceItems() const { return m_voiceItems; }
    // What each item's voice is (the engine's names, empty where it gives none).
    const QStringList& voiceNames() const { return m_voiceNames; }
    int voicePosition() const { return m_voicePosition; }
    const QString& voiceText() const { return m_voiceText; }
    bool voiceListEnabled() const { return m_voiceListEnabled; }
    // The lesson window disables the list while it reads.
    void setVoiceListEnabled(bool enabled) { m_voiceListEnabled = enabled; }

    // The learner picks the item at position: voice position + 1.
    void pickVoice(int position);
    // The learner types into the list: the voice of the item that reads text, or 0 when none
    // does.
    void typeVoice(const QString& text);

    SpinField& speed() { return m_speed; }
    SpinField& pitch() { return m_pitch; }
    SpinField& volume() { return m_volume; }
    const SpinField& speed() const { return m_speed; }
    const SpinField& pitch() const { return m_pitch; }
    const SpinField& volume() const { return m_volume; }

    // The restore buttons: the engine gets the default first, then the field shows it limited
    // to its range (and passes the limited value on if that changes its text).
    void restoreVoice();
    void restoreSpeed();
    void restorePitch();
    void restoreVolume();

private:
    // A program selection: the engine is not told.
    void selectFirstVoice();
    void selectVoice(int position);
    void writeVolume(int volume);

    SpeechEngine& m_engine;
    WindowKind m_kind;
    QStringList m_voiceItems;
    QStringList m_voiceNames;
    int m_voicePosition = -1;
    QString m_voiceText;
    bool m_voiceListEnabled = true;
    SpinField m_speed{speedStep};
    SpinField m_pitch{pitchStep};
    SpinField m_volume{volumeStep};
};

} // namespace quorvella
