#pragma once
// A label of plain text that the learner can select with the mouse. It becomes selectable when it
// is first shown: a selectable label lays its text out anew at every change, loading its fonts,
// which a window made at start-up and perhaps never opened need not do.

#include <QLabel>

namespace quorvella {

class SelectableLabel final : public QLabel {
public:
    explicit SelectableLabel(const QString& text = QString(), QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace quorvella
