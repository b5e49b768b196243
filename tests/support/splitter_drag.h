#pragma once
// Drags a splitter's handle as the learner's mouse does: press, moves and release through the
// top-level window, so that the events reach the handle the way real ones do.

#include <QSplitter>
#include <QTest>
#include <QWindow>

namespace quorvella {

inline void dragSplitterHandle(QSplitter& splitter, int handle, QPoint by) {
    QSplitterHandle* grip = splitter.handle(handle);
    QWidget* top = splitter.window();
    const QPoint from = grip->mapTo(top, grip->rect().center());
    QWindow* frame = top->windowHandle();
    QTest::mousePress(frame, Qt::LeftButton, {}, from);
    QTest::mouseMove(frame, from + by / 2);
    QTest::mouseMove(frame, from + by);
    QTest::mouseRelease(frame, Qt::LeftButton, {}, from + by);
}

} // namespace quorvella
