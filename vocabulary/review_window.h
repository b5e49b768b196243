#pragma once
// The review window: a dictation of the words of a lesson or an initial letter.

#include "core/data_folder.h"
#include "speech/reading_settings_group.h"
#include "speech/speech_engine.h"

#include <QMainWindow>
#include <memory>

namespace quorvella {

class TForm4 final : public QMainWindow {
    Q_OBJECT

public:
    TForm4(const SpeechEngineFactory& makeEngine, DataFolder folder, QWidget* parent = nullptr);
    ~TForm4() override;

    // The creation handler.
    void FormCreate();

    SpeechEngine& engine() const { return *spe; }

private:
    DataFolder m_folder;
    std::unique_ptr<SpeechEngine> spe;
    ReadingSettingsGroup* m_readingSettings = nullptr;
};

} // namespace quorvella
