#pragma once
// Running the event loop in a test until something has happened.

#include <QCoreApplication>
#include <QElapsedTimer>

namespace quorvella {

// Runs the event loop until done() or the timeout; returns done().
template <typename Done>
bool runUntil(Done done, int timeoutMs = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return done();
}

} // namespace quorvella
