// The lesson window on long lessons: loading a 64 KB lesson (read, decode, show and count at the
// pane's width), and "朗读全文" to the first audio at the output with flite's rms voice, on lessons
// of 64 KB and of 4 KB (streamed by sentence, the two should not differ).

#include "lessons/lesson_study.h"
#include "lessons/lesson_window.h"
#include "lessons/tedstr.h"
#include "speech/local_speech_engine.h"
#include "tests/support/fake_speech_engine.h"
#include "tools/lesson_file.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

namespace {

using namespace quorvella;

void write(const QString& path, const std::string& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes.data(), qint64(bytes.size()));
}

// A course of one lesson of about kib kilobytes, shown in a lesson window that speaks through
// the engine that makeEngine makes.
class LessonShown {
public:
    LessonShown(std::size_t kib, const SpeechEngineFactory& makeEngine) {
        QDir().mkpath(m_dir.filePath("text"));
        QDir().mkpath(m_dir.filePath("cn"));
        const std::string paragraph =
            "    The library opens at eight in the morning. Students come in quietly and find a "
            "seat near the windows, and the librarian puts the returned books back in their "
            "places.";
        std::vector<std::string> lines{"    A Long Lesson"};
        while (size < kib * 1024) {
            lines.push_back(paragraph);
            size += paragraph.size() + 2;
        }
        write(m_dir.filePath("textindex.txt"), "Lesson 1  A Long Lesson\r\n");
        write(m_dir.filePath("text/0.txt"), makeLessonFile(lines, LessonStudy::kLessonKey).bytes);
        write(m_dir.filePath("cn/0.txt"),
              tedstr::encode("    \xB3\xA4", LessonStudy::kTranslationKey));

        window = std::make_unique<TForm2>(makeEngine, DataFolder(m_dir.path()));
        window->FormCreate();
        window->resize(1280, 800);
        window->show();
        list = window->findChild<QListWidget*>("ListBox1");
        list->setCurrentRow(0);
    }

    void load() const { emit list->itemDoubleClicked(list->item(0)); }

    QTemporaryDir m_dir;
    std::size_t size = 0;
    std::unique_ptr<TForm2> window;
    QListWidget* list = nullptr;
};

void loadLesson64k(benchmark::State& state) {
    LessonShown shown(64, [] { return std::make_unique<FakeSpeechEngine>(); });
    for (auto _ : state) {
        shown.load();
    }
    state.counters["lesson_bytes"] = double(shown.size);
}
BENCHMARK(loadLesson64k)->Unit(benchmark::kMillisecond)->Repetitions(12)->ReportAggregatesOnly();

// From the press of "朗读全文" until the first audio is queued for the output (which takes it at
// its next tick).
void readAllToFirstAudio(benchmark::State& state) {
    CaptureAudioOutput* output = nullptr;
    LessonShown shown(std::size_t(state.range(0)), [&output] {
        auto capture = std::make_unique<CaptureAudioOutput>();
        output = capture.get();
        return std::make_unique<LocalSpeechEngine>(std::move(capture));
    });
    shown.load();
    auto* readAll = shown.window->findChild<QAbstractButton*>("BitBtn1");
    auto* stop = shown.window->findChild<QAbstractButton*>("BitBtn5");
    for (auto _ : state) {
        if (!readAll->isEnabled()) {
            state.SkipWithError("\"朗读全文\" is not enabled");
            break;
        }
        const auto start = std::chrono::steady_clock::now();
        readAll->click();
        while (output->queuedSeconds() == 0.0) {
            std::this_thread::yield();
        }
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        stop->click();
    }
    state.counters["lesson_bytes"] = double(shown.size);
}
BENCHMARK(readAllToFirstAudio)
    ->Arg(64)
    ->Arg(4)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(12)
    ->ReportAggregatesOnly();

} // namespace
