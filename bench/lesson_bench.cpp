// Loading a 64 KB lesson in the lesson window: read, decode, show and count at the pane's width.

#include "lessons/lesson_study.h"
#include "lessons/lesson_window.h"
#include "lessons/tedstr.h"
#include "tests/support/fake_speech_engine.h"
#include "tools/lesson_file.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace quorvella;

void write(const QString& path, const std::string& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes.data(), qint64(bytes.size()));
}

void loadLesson64k(benchmark::State& state) {
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("text"));
    QDir().mkpath(dir.filePath("cn"));
    const std::string paragraph =
        "    The library opens at eight in the morning. Students come in quietly and find a seat "
        "near the windows, and the librarian puts the returned books back in their places.";
    std::vector<std::string> lines{"    A Long Lesson"};
    std::size_t size = 0;
    while (size < 64 * 1024) {
        lines.push_back(paragraph);
        size += paragraph.size() + 2;
    }
    write(dir.filePath("textindex.txt"), "Lesson 1  A Long Lesson\r\n");
    write(dir.filePath("text/0.txt"), makeLessonFile(lines, LessonStudy::kLessonKey).bytes);
    write(dir.filePath("cn/0.txt"), tedstr::encode("    \xB3\xA4", LessonStudy::kTranslationKey));

    TForm2 window([] { return std::make_unique<FakeSpeechEngine>(); }, DataFolder(dir.path()));
    window.FormCreate();
    window.resize(1280, 800);
    window.show();
    auto* list = window.findChild<QListWidget*>("ListBox1");
    list->setCurrentRow(0);
    for (auto _ : state) {
        emit list->itemDoubleClicked(list->item(0));
    }
    state.counters["lesson_bytes"] = double(size);
}
BENCHMARK(loadLesson64k)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
