#pragma once
// The grammar window: the grammar guide's page, shown afresh each time the window appears.

#include "core/data_folder.h"
#include "viewers/page_window.h"

namespace quorvella {

class TForm5 final : public PageWindow {
    Q_OBJECT

public:
    explicit TForm5(DataFolder folder, QWidget* parent = nullptr);

    void FormCreate() {}

protected:
    // Worked out anew at each showing.
    QString pagePath() const override { return m_folder.path(u"abc/grammar.htm"); }

private:
    DataFolder m_folder;
};

} // namespace quorvella
