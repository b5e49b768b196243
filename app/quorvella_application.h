#pragma once
// The application object: titled "quorvella"; the last net for an error that escapes an event
// handler, which it shows in the error box and then goes on with the next event.

#include <QApplication>

namespace quorvella {

// Qt's file and colour dialogs remember their state in a settings file of the user's; this
// program writes no file, so their settings are sent where nothing can be written.
void writeNoSettingsFiles();

class QuorvellaApplication final : public QApplication {
    Q_OBJECT

public:
    QuorvellaApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace quorvella
