// The word bank window over a bank of 100,000 lines: listing the range A to Z, which takes every
// line, and a search that every line matches, each with the rows shown in the window's table.

#include "core/gbk_codec.h"
#include "tests/support/fake_speech_engine.h"
#include "vocabulary/word_bank_window.h"
#include "vocabulary/word_widgets.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace quorvella;

constexpr int kLines = 100000;

// Words sorted as a bank is: each initial a to z in turn, then a number, with a Chinese meaning.
std::string bank() {
    const std::string meaning = encodeGbk(u"n. 词义；释义");
    std::string text;
    for (int n = 0; n < kLines; ++n) {
        const char initial = char('a' + n * 26 / kLines);
        text.append(1, initial).append(std::to_string(1000000 + n)).append("@");
        text.append(meaning).append("\r\n");
    }
    return text;
}

class Window {
public:
    Window() {
        QDir().mkpath(m_dir.filePath("dat"));
        // The bank that bench/run.sh also gives grep, or one made here alike.
        const QString given = qEnvironmentVariable("QUORVELLA_BENCH_BANK");
        if (given.isEmpty()) {
            QFile file(m_dir.filePath("dat/zsks.txt"));
            file.open(QIODevice::WriteOnly);
            const std::string lines = bank();
            file.write(lines.data(), qint64(lines.size()));
        } else {
            QFile::copy(given, m_dir.filePath("dat/zsks.txt"));
        }
        window = std::make_unique<TForm8>([] { return std::make_unique<FakeSpeechEngine>(); },
                                          DataFolder(m_dir.path()));
        window->FormCreate();
        window->resize(1280, 800);
        window->show();
        table = window->findChild<WordTableView*>("ListView1");
    }

    // The rows painted as the learner sees them.
    void paint() const { table->viewport()->repaint(); }

    QTemporaryDir m_dir;
    std::unique_ptr<TForm8> window;
    WordTableView* table = nullptr;
};

void listAToZOf100kLines(benchmark::State& state) {
    Window shown;
    shown.window->findChild<QComboBox*>("ComboBox3")->setCurrentIndex(25);
    auto* set = shown.window->findChild<QPushButton*>("Button2");
    for (auto _ : state) {
        set->click();
        shown.paint();
    }
    state.counters["rows"] = shown.table->model()->rowCount();
}
BENCHMARK(listAToZOf100kLines)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(12)
    ->ReportAggregatesOnly();

void search100kLines(benchmark::State& state) {
    Window shown;
    shown.window->findChild<QLineEdit*>("Edit1")->setText(QStringLiteral("释义"));
    auto* find = shown.window->findChild<QPushButton*>("Button3");
    for (auto _ : state) {
        find->click();
        shown.paint();
    }
    state.counters["rows"] = shown.table->model()->rowCount();
}
BENCHMARK(search100kLines)->Unit(benchmark::kMillisecond)->Repetitions(12)->ReportAggregatesOnly();

} // namespace
