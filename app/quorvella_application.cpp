#include "app/quorvella_application.h"

#include "core/message_port.h"

namespace quorvella {

QuorvellaApplication::QuorvellaApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("quorvella"));
    setQuitOnLastWindowClosed(false); // the launcher alone ends the program
}

bool QuorvellaApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    runHandler([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace quorvella
