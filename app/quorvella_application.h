#pragma once
// The application object: titled "quorvella"; the last net for an error that escapes an event
// handler, which it shows in the error box and then goes on with the next event.

#include <QApplication>

namespace quorvella {

class QuorvellaApplication final : public QApplication {
    Q_OBJECT

public:
    QuorvellaApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace quorvella
