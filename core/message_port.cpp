#include "core/message_port.h"

#include "core/app_error.h"

#include <cstdio>
#include <stdexcept>

namespace quorvella {

namespace {

MessagePort* g_port = nullptr;

} // namespace

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
    if (g_port != nullptr) {
        g_port->showError(withFullStop(text));
    } else {
        std::fprintf(stderr, "quorvella: %s\n", qPrintable(withFullStop(text)));
    }
}

} // namespace quorvella
