#include "app/start_up.h"

#include "app/enter_key.h"
#include "app/launcher_window.h"
#include "app/message_box_port.h"
#include "app/quorvella_application.h"
#include "core/app_error.h"
#include "core/freed_memory.h"
#include "core/message_port.h"
#include "core/qt_translations.h"
#include "lessons/lesson_window.h"
#include "mocktest/mock_test_window.h"
#include "speech/audio_output.h"
#include "speech/speech_engine_factory.h"
#include "viewers/answers_window.h"
#include "viewers/grammar_window.h"
#include "viewers/help_window.h"
#include "vocabulary/new_word_window.h"
#include "vocabulary/review_window.h"
#include "vocabulary/word_bank_window.h"

#include <QScreen>
#include <QTimer>
#include <cxxabi.h>
#include <typeinfo>

namespace quorvella {

namespace {

QString errorKind(const std::exception& error) {
    if (dynamic_cast<const AppError*>(&error) != nullptr) {
        return QStringLiteral("AppError");
    }
    int status = 0;
    char* name = abi::__cxa_demangle(typeid(error).name(), nullptr, nullptr, &status);
    const QString kind = QString::fromLatin1(status == 0 ? name : typeid(error).name());
    std::free(name);
    return kind;
}

} // namespace

QString applicationErrorText(const std::exception& error, const void* address) {
    const auto* appError = dynamic_cast<const AppError*>(&error);
    const QString message =
        appError != nullptr ? appError->text() : QString::fromLocal8Bit(error.what());
    return QStringLiteral("Exception %1 in module quorvella at %2.\n%3")
        .arg(errorKind(error))
        .arg(quintptr(address), 16, 16, QLatin1Char('0'))
        .arg(withFullStop(message));
}

StartUp::StartUp(StartUpOptions options) : m_options(std::move(options)) {
    if (!m_options.speech) {
        m_options.speech = [] { return createSpeechEngine(); };
    }
}

StartUp::~StartUp() = default;

void StartUp::replaceCreationHandler(const QString& name, std::function<void()> handler) {
    m_replaced[name] = std::move(handler);
}

void StartUp::build(const QString& name, const std::function<QWidget*()>& make,
                    const std::function<void()>& create) {
    m_windows[name] = make();
    const auto replaced = m_replaced.find(name);
    const std::function<void()>& handler = replaced != m_replaced.end() ? replaced->second : create;
    m_creationOrder << name;
    runHandler(handler);
}

bool StartUp::createWindows() {
    const DataFolder& folder = m_options.folder;
    const SpeechEngineFactory& speech = m_options.speech;
    try {
        build(
            QStringLiteral("TForm1"), [&] { return (m_form1 = std::make_unique<TForm1>()).get(); },
            [&] { m_form1->FormCreate(); });
        build(
            QStringLiteral("TForm2"),
            [&] { return (m_form2 = std::make_unique<TForm2>(speech, folder)).get(); },
            [&] { m_form2->FormCreate(); });
        build(
            QStringLiteral("TForm3"),
            [&] { return (m_form3 = std::make_unique<TForm3>(speech, folder)).get(); },
            [&] { m_form3->FormCreate(); });
        build(
            QStringLiteral("TForm4"),
            [&] { return (m_form4 = std::make_unique<TForm4>(speech, folder)).get(); },
            [&] { m_form4->FormCreate(); });
        build(
            QStringLiteral("TForm5"),
            [&] { return (m_form5 = std::make_unique<TForm5>(folder)).get(); },
            [&] { m_form5->FormCreate(); });
        build(
            QStringLiteral("TForm6"),
            [&] { return (m_form6 = std::make_unique<TForm6>(folder)).get(); },
            [&] { m_form6->FormCreate(); });
        build(
            QStringLiteral("TForm7"),
            [&] { return (m_form7 = std::make_unique<TForm7>(folder)).get(); },
            [&] { m_form7->FormCreate(); });
        build(
            QStringLiteral("TForm8"),
            [&] { return (m_form8 = std::make_unique<TForm8>(speech, folder)).get(); },
            [&] { m_form8->FormCreate(); });
        build(
            QStringLiteral("TForm10"),
            [&] { return (m_form10 = std::make_unique<TForm10>(folder)).get(); },
            [&] { m_form10->FormCreate(); });
    } catch (const std::exception& error) {
        const QString text =
            applicationErrorText(error, reinterpret_cast<const void*>(&runQuorvella));
        applicationMessages().showApplicationError(text);
        return false;
    }
    m_form1->setActivities({m_form2.get(), m_form3.get(), m_form4.get(), m_form5.get(),
                            m_form6.get(), m_form7.get(), m_form8.get(), m_form10.get()});
    QObject::connect(m_form1.get(), &TForm1::closed, qApp, &QCoreApplication::quit);
    return true;
}

QWidget* StartUp::window(const QString& name) const {
    const auto found = m_windows.find(name);
    return found != m_windows.end() ? found->second : nullptr;
}

int StartUp::run() {
    // Maximised; where no window manager maximises it, it still covers the screen.
    if (const QScreen* screen = m_form1->screen()) {
        m_form1->setGeometry(screen->availableGeometry());
    }
    m_form1->showMaximized();
    return QApplication::exec();
}

int runStartUp(StartUp& startUp) {
    return startUp.createWindows() ? startUp.run() : 1;
}

int runQuorvella(int argc, char** argv, const std::function<void(StartUp&)>& started) {
    keepFreedMemoryForReuse();
    startLoadingSynthesisers(); // while the application and the launcher are made
    QuorvellaApplication application(argc, argv);
    installChineseQtTexts(); // before any window, so that every dialog follows
    QApplication::setWindowIcon(programIcon());
    EnterKey enterKey;
    application.installEventFilter(&enterKey);
    MessageBoxPort boxes;
    setApplicationMessagePort(&boxes);
    int code = 1;
    {
        std::unique_ptr<AudioOutput> soundDevice;
        QTimer::singleShot(0, [&] { soundDevice = holdSoundDevice(); }); // once the launcher shows
        StartUp startUp(StartUpOptions{});
        if (started) {
            QTimer::singleShot(0, [&] { started(startUp); });
        }
        code = runStartUp(startUp);
    }
    setApplicationMessagePort(nullptr);
    return code;
}

} // namespace quorvella
