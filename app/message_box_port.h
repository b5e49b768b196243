#pragma once
// The application's message boxes: messages and errors captioned "quorvella", and the
// "Application Error" box of a failure that stops the program.

#include "core/message_port.h"

namespace quorvella {

class MessageBoxPort final : public MessagePort {
public:
    void showMessage(const QString& text) override;
    void showError(const QString& text) override;
    void showApplicationError(const QString& text) override;
};

} // namespace quorvella
