#pragma once
// A splitter that measures its panes only when it is first shown. Adding a pane to a splitter
// lays out every control in the pane and loads its fonts, which a window made at start-up and
// perhaps never opened need not do. Its starting sizes are set at that moment too, from its
// length then.

#include <QList>
#include <QPointer>
#include <QSplitter>
#include <functional>
#include <vector>

namespace quorvella {

class PaneSplitter final : public QSplitter {
public:
    // The panes' starting sizes, given the splitter's length along its orientation.
    using StartingSizes = std::function<QList<int>(int length)>;

    PaneSplitter(Qt::Orientation orientation, QWidget* parent);

    // Adds a pane at the end; until the splitter is first shown the pane stays hidden, so that
    // nothing measures it.
    void addPane(QWidget* pane);
    void setStartingSizes(StartingSizes sizes) { m_startingSizes = std::move(sizes); }
    // Makes pane side (0 or 1) of two panes a side pane: it starts width pixels wide and keeps its
    // width when the window grows, while the other pane takes the rest; neither pane collapses,
    // and the learner can drag the splitter. Call it once both panes are added.
    void setSidePane(int side, int width);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::vector<QPointer<QWidget>> m_waitingPanes;
    StartingSizes m_startingSizes;
    bool m_shown = false;
};

} // namespace quorvella
