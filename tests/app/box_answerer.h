#pragma once
// The program's own message boxes, shown for real and answered by a timer: while a BoxAnswerer
// lives, the application's port shows modal boxes, and each box that opens is recorded and closed
// with its OK button a moment later.

#include "app/message_box_port.h"
#include "core/message_port.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

namespace quorvella {

class BoxAnswerer {
public:
    BoxAnswerer() : m_previous(applicationMessagePort()) {
        setApplicationMessagePort(&m_boxes);
        m_timer.setInterval(5);
        m_timer.callOnTimeout([this] { answer(); });
        m_timer.start();
    }
    ~BoxAnswerer() { setApplicationMessagePort(m_previous); }
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    // Each box as "error: <text>" (the critical icon) or "message: <text>", in the order shown.
    QStringList boxes;
    // Boxes whose caption was not "quorvella" or that had other buttons than OK.
    QStringList odd;

private:
    void answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        const bool error = box->icon() == QMessageBox::Critical;
        boxes << (error ? QStringLiteral("error: ") : QStringLiteral("message: ")) + box->text();
        if (box->windowTitle() != QStringLiteral("quorvella") ||
            box->standardButtons() != QMessageBox::Ok) {
            odd << box->windowTitle() + QStringLiteral(": ") + box->text();
        }
        box->button(QMessageBox::Ok)->click();
    }

    MessagePort* m_previous;
    MessageBoxPort m_boxes;
    QTimer m_timer;
};

} // namespace quorvella
