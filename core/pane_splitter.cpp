#include "core/pane_splitter.h"

namespace quorvella {

PaneSplitter::PaneSplitter(Qt::Orientation orientation, QWidget* parent)
    : QSplitter(orientation, parent) {}

void PaneSplitter::addPane(QWidget* pane) {
    if (!m_shown) {
        // A hidden pane is one that the splitter leaves out of its measuring.
        pane->hide();
        m_waitingPanes.emplace_back(pane);
    }
    addWidget(pane);
}

void PaneSplitter::setSidePane(int side, int width) {
    setStretchFactor(side, 0);
    setStretchFactor(1 - side, 1);
    setCollapsible(0, false);
    setCollapsible(1, false);
    setStartingSizes([this, side, width](int length) {
        const int rest = length - width - handleWidth();
        return side == 0 ? QList<int>{width, rest} : QList<int>{rest, width};
    });
}

void PaneSplitter::showEvent(QShowEvent* event) {
    QSplitter::showEvent(event);
    if (m_shown) {
        return;
    }
    m_shown = true;
    for (const QPointer<QWidget>& pane : m_waitingPanes) {
        if (pane) {
            pane->show();
        }
    }
    m_waitingPanes.clear();
    if (m_startingSizes) {
        setSizes(m_startingSizes(orientation() == Qt::Horizontal ? width() : height()));
    }
}

} // namespace quorvella
