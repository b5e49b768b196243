#pragma once
// The word bank window: the learner browses eight word banks with automatic reading.

#include "core/data_folder.h"
#include "speech/speech_engine.h"

#include <QMainWindow>
#include <memory>

namespace quorvella {

class TForm8 final : public QMainWindow {
    Q_OBJECT

public:
    TForm8(const SpeechEngineFactory& makeEngine, DataFolder folder, QWidget* parent = nullptr);
    ~TForm8() override;

    // The creation handler.
    void FormCreate();

    SpeechEngine& engine() const { return *spe1; }

private:
    DataFolder m_folder;
    std::unique_ptr<SpeechEngine> spe1;
};

} // namespace quorvella
