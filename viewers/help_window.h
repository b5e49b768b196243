#pragma once
// The help window: the help page, shown afresh each time the window appears.

#include "core/data_folder.h"
#include "viewers/page_window.h"

namespace quorvella {

class TForm10 final : public PageWindow {
    Q_OBJECT

public:
    explicit TForm10(DataFolder folder, QWidget* parent = nullptr);

    // The creation handler: the page's path is fixed here for the run.
    void FormCreate();

protected:
    QString pagePath() const override { return m_pagePath; }

private:
    DataFolder m_folder;
    QString m_pagePath;
};

} // namespace quorvella
