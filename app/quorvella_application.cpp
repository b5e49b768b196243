#include "app/quorvella_application.h"

#include "core/message_port.h"

#include <QSettings>

namespace quorvella {

void writeNoSettingsFiles() {
    // Nothing, not even root, can create a folder inside /proc.
    const QString nowhere = QStringLiteral("/proc/self/no-settings");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
}

QuorvellaApplication::QuorvellaApplication(int& argc, char** argv) : QApplication(argc, argv) {
    writeNoSettingsFiles();
    setApplicationName(QStringLiteral("quorvella"));
    setDesktopFileName(QStringLiteral("example.quorvella.quorvella")); // its desktop entry
    setQuitOnLastWindowClosed(false); // the launcher alone ends the program
}

bool QuorvellaApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    runHandler([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace quorvella
