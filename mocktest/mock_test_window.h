#pragma once
// The mock test window: the learner draws a multiple-choice test, answers it and has it scored.

#include "core/data_folder.h"

#include <QMainWindow>
#include <memory>

namespace quorvella {

class TForm7 final : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm7(DataFolder folder, QWidget* parent = nullptr);
    ~TForm7() override;

    // The creation handler.
    void FormCreate();

private:
    DataFolder m_folder;
};

} // namespace quorvella
