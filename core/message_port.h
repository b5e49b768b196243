#pragma once
// How logic and handlers speak to the learner: fixed messages, and the text of an error that ended
// a handler. The boxes that show them are the application's; tests record them instead.

#include <QObject>
#include <QString>
#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace quorvella {

class MessagePort {
public:
    virtual ~MessagePort() = default;

    // A message box with an OK button, captioned with the application title.
    virtual void showMessage(const QString& text) = 0;
    // The error box: the text as it stands; withFullStop is applied by the caller.
    virtual void showError(const QString& text) = 0;
    // The box titled "Application Error" of a failure that stops the program.
    virtual void showApplicationError(const QString& text) = 0;
};

// The error box's text: a full stop is appended unless the last character is at or below "."
// in code order (so ".", "!", "," or a blank end the text as it is); an empty text stays empty.
QString withFullStop(const QString& text);

// The port that errors escaping a handler go to; until one is set, they are written to stderr.
void setApplicationMessagePort(MessagePort* port);
MessagePort* applicationMessagePort();

// A port that passes everything on to the application's port of the moment (or stderr): what
// logic objects hold when their messages are the application's.
MessagePort& applicationMessages();

// Shows the error's text in the application's error box.
void reportError(const std::exception& error);

// Runs an event handler: an error that escapes it skips the rest of the handler and is shown in
// the application's error box; it never unwinds into Qt's own frames.
template <typename Handler>
void runHandler(Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        reportError(error);
    } catch (...) {
        reportError(std::runtime_error("Unknown error"));
    }
}

// Calls a handler with the signal's arguments when it takes them, else with none.
template <typename Slot, typename Receiver, typename... Arguments>
void invokeHandler(Slot slot, Receiver* receiver, Arguments&&... arguments) {
    if constexpr (std::is_invocable_v<Slot, Receiver*, Arguments...>) {
        std::invoke(slot, receiver, std::forward<Arguments>(arguments)...);
    } else {
        std::invoke(slot, receiver);
    }
}

// connect() for handlers: the slot (a member function taking the signal's arguments or none)
// runs inside runHandler.
template <typename Sender, typename Signal, typename Receiver, typename Slot>
QMetaObject::Connection connectHandler(Sender* sender, Signal signal, Receiver* receiver,
                                       Slot slot) {
    return QObject::connect(sender, signal, receiver, [receiver, slot](auto&&... arguments) {
        runHandler([&] {
            invokeHandler(slot, receiver, std::forward<decltype(arguments)>(arguments)...);
        });
    });
}

} // namespace quorvella
