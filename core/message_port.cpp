#include "core/message_port.h"

#include "core/app_error.h"

#include <cstdio>
#include <stdexcept>

namespace quorvella {

namespace {

MessagePort* g_port = nullptr;

void toStderr(const char* kind, const QString& text) {
    std::fprintf(stderr, "quorvella: %s%s\n", kind, qPrintable(text));
}

class ForwardingPort final : public MessagePort {
public:
    void showMessage(const QString& text) override {
        g_port != nullptr ? g_port->showMessage(text) : toStderr("", text);
    }
    void showError(const QString& text) override {
        g_port != nullptr ? g_port->showError(text) : toStderr("", text);
    }
    void showApplicationError(const QString& text) override {
        g_port != nullptr ? g_port->showApplicationError(text)
                          : toStderr("Application Error: ", text);
    }
};

} // namespace

MessagePort& applicationMessages() {
    static ForwardingPort port;
    return port;
}

QString withFullStop(const QString& text) {
    if (text.isEmpty() || text.back() <= QLatin1Char('.')) {
        return text;
    }
    return text + QLatin1Char('.');
}

void setApplicationMessagePort(MessagePort* port) {
    g_port = port;
}

MessagePort* applicationMessagePort() {
    return g_port;
}

void reportError(const std::exception& error) {
    const auto* appError = dynamic_cast<const AppError*>(&error);
    const QString text =
        appError != nullptr ? appError->text() : QString::fromLocal8Bit(error.what());
    applicationMessages().showError(withFullStop(text));
}

} // namespace quorvella
