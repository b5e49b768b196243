#pragma once
// Start-up: creates every window once, in the fixed order, each creation handler inside the error
// catch, then runs the event loop until the launcher closes.

#include "core/data_folder.h"
#include "speech/speech_engine.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

class QWidget;

namespace quorvella {

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm10;

struct StartUpOptions {
    DataFolder folder = DataFolder::application();
    SpeechEngineFactory speech;
};

class StartUp final {
public:
    explicit StartUp(StartUpOptions options);
    ~StartUp();
    StartUp(const StartUp&) = delete;
    StartUp& operator=(const StartUp&) = delete;

    // For tests: run handler instead of the creation handler of the window named name ("TForm2").
    void replaceCreationHandler(const QString& name, std::function<void()> handler);

    // Creates TForm1, TForm2, TForm3, TForm4, TForm5, TForm6, TForm7, TForm8 and TForm10 in this
    // order; each creation handler runs before the next window is built, and an error in it is
    // shown and start-up goes on. A window that cannot be built at all shows "Application Error"
    // and gives false.
    bool createWindows();

    // The creation handlers that ran, in order.
    const QStringList& creationOrder() const { return m_creationOrder; }

    // The window named name, once created.
    QWidget* window(const QString& name) const;

    // Shows the launcher maximised and runs the event loop until the launcher closes.
    int run();

private:
    void build(const QString& name, const std::function<QWidget*()>& make,
               const std::function<void()>& create);

    StartUpOptions m_options;
    std::map<QString, std::function<void()>> m_replaced;
    QStringList m_creationOrder;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm2> m_form2;
    std::unique_ptr<TForm3> m_form3;
    std::unique_ptr<TForm4> m_form4;
    std::unique_ptr<TForm5> m_form5;
    std::unique_ptr<TForm6> m_form6;
    std::unique_ptr<TForm7> m_form7;
    std::unique_ptr<TForm8> m_form8;
    std::unique_ptr<TForm10> m_form10;
    std::map<QString, QWidget*> m_windows;
};

// The text of the "Application Error" box for an error that stopped start-up.
QString applicationErrorText(const std::exception& error, const void* address);

// Creates the windows and runs the event loop: the exit code, 1 when a window could not be built.
int runStartUp(StartUp& startUp);

// The whole program: application, message boxes, start-up, event loop. Returns the exit code.
// started, when given, runs once the event loop runs with every window created (a test's walk
// through the windows).
int runQuorvella(int argc, char** argv, const std::function<void(StartUp&)>& started = {});

} // namespace quorvella
