#pragma once
// A message port for tests: records the messages and errors that would have been shown, and is
// the application's port while it lives.

#include "core/message_port.h"

#include <QStringList>

namespace quorvella {

class RecordingMessagePort final : public MessagePort {
public:
    RecordingMessagePort() : m_previous(applicationMessagePort()) {
        setApplicationMessagePort(this);
    }
    ~RecordingMessagePort() override { setApplicationMessagePort(m_previous); }
    RecordingMessagePort(const RecordingMessagePort&) = delete;
    RecordingMessagePort& operator=(const RecordingMessagePort&) = delete;

    void showMessage(const QString& text) override { messages << text; }
    void showError(const QString& text) override { errors << text; }
    void showApplicationError(const QString& text) override { applicationErrors << text; }

    QStringList messages;
    QStringList errors;
    QStringList applicationErrors;

private:
    MessagePort* m_previous;
};

} // namespace quorvella
