#pragma once
// The frame "朗读设置" on the lesson, new-word and review windows: voice list, speed, pitch and
// volume fields, each with its restore button. A thin view over ReadingSettings.

#include "core/app_error.h"
#include "speech/reading_settings.h"

#include <QGroupBox>

#include <functional>
#include <vector>

class QComboBox;
class QPushButton;

namespace quorvella {

class SpinFieldWidget;

class ReadingSettingsGroup final : public QGroupBox {
    Q_OBJECT

public:
    ReadingSettingsGroup(SpeechEngine& engine, WindowKind kind, QWidget* parent = nullptr);

    // The last step of the window's creation: fills the group from the engine. An engine error
    // escapes to the window's creation handler; what was filled before it is shown.
    void fill();
    void setVoiceListEnabled(bool enabled);

    ReadingSettings& settings() { return m_settings; }

    // The group's controls in their Tab order: row by row, each field, then its "恢复默认".
    std::vector<QWidget*> tabStops() const;
    const ReadingSettings& settings() const { return m_settings; }

private slots:
    void voiceActivated(int position);
    void voiceEdited(const QString& text);
    void speedEdited(const QString& text);
    void speedStepped(int direction);
    void speedFocusLost();
    void pitchEdited(const QString& text);
    void pitchStepped(int direction);
    void pitchFocusLost();
    void volumeEdited(const QString& text);
    void volumeStepped(int direction);
    void volumeFocusLost();
    void restoreVoiceClick();
    void restoreSpeedClick();
    void restorePitchClick();
    void restoreVolumeClick();

private:
    // Runs one handler's work: an AppError ends it and goes to the error handler instead of
    // unwinding through Qt. The widgets then show the state reached.
    void run(const std::function<void()>& work);
    void render();
    // The list is narrower than its items: show their start, where the voice number is.
    void showVoiceNumber();
    static void step(SpinField& field, int direction);

    ReadingSettings m_settings;
    QComboBox* m_voiceList;
    SpinFieldWidget* m_speedField;
    SpinFieldWidget* m_pitchField;
    SpinFieldWidget* m_volumeField;
    QPushButton* m_restoreVoice;
    QPushButton* m_restoreSpeed;
    QPushButton* m_restorePitch;
    QPushButton* m_restoreVolume;
};

} // namespace quorvella
