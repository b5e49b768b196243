// Where an engine's audio goes on this machine: the default device's output when audio first
// plays, the null output without a device, and a clear line when the audio module is missing.

#include "speech/audio_device.h"
#include "speech/first_play_audio_output.h"
#include "speech/local_speech_engine.h"
#include "speech/speech_engine_factory.h"
#include "tests/support/event_loop.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quorvella {
namespace {

TEST(LocalSpeechEngine, WithoutAnAudioDeviceTheNullOutputPlaysInRealTime) {
    // The sound server is out of reach for this process (ctest runs each test in a process of
    // its own, before Qt Multimedia has looked for devices).
    qputenv("PULSE_SERVER", "unix:/nonexistent/quorvella-no-sound-server");
    if (!QMediaDevices::audioOutputs().isEmpty()) {
        GTEST_SKIP() << "an audio device was found before the sound server could be hidden";
    }
    {
        auto output = createAudioOutput();
        output->setActive(true);
        auto* chosen = dynamic_cast<FirstPlayAudioOutput&>(*output).chosen();
        EXPECT_NE(dynamic_cast<NullAudioOutput*>(chosen), nullptr);
    }
    std::unique_ptr<SpeechEngine> engine = createSpeechEngine();
    QSignalSpy done(engine.get(), &SpeechEngine::TextDataDone);
    QElapsedTimer clock;
    clock.start();
    engine->SpeakText(QStringLiteral("hello"));
    ASSERT_TRUE(runUntil([&] { return done.count() > 0; }, 10000));
    EXPECT_GT(clock.elapsed(), 200); // played at the pace of speech, not at once
}

// The audio module missing beside the program: one clear line on stderr, and speech goes on
// unheard on the null output, its ends reported. Run in a copy of this test program in a folder
// of its own, where there is no module.
TEST(AudioModule, MissingBesideTheProgramIsSaidOnceAndSpeechGoesOnUnheard) {
    if (qEnvironmentVariableIsSet("QUORVELLA_TEST_NO_AUDIO_MODULE")) {
        for (const QString& text : {QStringLiteral("hello"), QStringLiteral("world")}) {
            std::unique_ptr<SpeechEngine> engine = createSpeechEngine();
            QSignalSpy done(engine.get(), &SpeechEngine::TextDataDone);
            engine->SpeakText(text);
            ASSERT_TRUE(runUntil([&] { return done.count() > 0; }, 10000));
            const auto& first = dynamic_cast<FirstPlayAudioOutput&>(
                dynamic_cast<LocalSpeechEngine&>(*engine).output());
            EXPECT_NE(dynamic_cast<NullAudioOutput*>(first.chosen()), nullptr);
        }
        return;
    }
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString copy =
        folder.filePath(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationFilePath(), copy));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUORVELLA_TEST_NO_AUDIO_MODULE"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.start(copy, {QStringLiteral("--gtest_filter=AudioModule.*")});
    ASSERT_TRUE(child.waitForFinished(30000));
    const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
    EXPECT_EQ(errors.count(QStringLiteral("quorvella: the audio module ")), 1)
        << errors.toStdString();
    EXPECT_TRUE(errors.contains(folder.filePath(QLatin1String(kAudioModuleFile)) +
                                QStringLiteral(" cannot be loaded")))
        << errors.toStdString();
}

} // namespace
} // namespace quorvella
