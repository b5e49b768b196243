#pragma once
// The lesson window: where the learner studies the lessons of the course, reads them aloud and
// shows their translations.

#include "core/data_folder.h"
#include "speech/reading_settings_group.h"
#include "speech/speech_engine.h"

#include <QMainWindow>
#include <memory>

namespace quorvella {

class TForm2 final : public QMainWindow {
    Q_OBJECT

public:
    TForm2(const SpeechEngineFactory& makeEngine, DataFolder folder, QWidget* parent = nullptr);
    ~TForm2() override;

    // The creation handler: fills the reading settings group.
    void FormCreate();

    SpeechEngine& engine() const { return *spe; }

private:
    DataFolder m_folder;
    std::unique_ptr<SpeechEngine> spe;
    ReadingSettingsGroup* m_readingSettings = nullptr;
};

} // namespace quorvella
