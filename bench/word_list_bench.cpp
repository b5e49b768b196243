// The new-word window over a word list of 100,000 lines: opening one letter group that holds
// them all (loaddata2), and the search, each with the rows shown in the window's table.

#include "core/gbk_codec.h"
#include "tests/support/fake_speech_engine.h"
#include "vocabulary/new_word_window.h"
#include "vocabulary/word_widgets.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace quorvella;

constexpr int kLines = 100000;

void write(const QString& path, const std::string& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes.data(), qint64(bytes.size()));
}

// Words "a" + a number, with a phonetic, a Chinese meaning and a group number.
std::string wordList() {
    const std::string meaning = encodeGbk(u"n. 词义；释义");
    std::string text;
    for (int n = 0; n < kLines; ++n) {
        const std::string number = std::to_string(n);
        text.append("a").append(number).append("@[a").append(number).append("]@");
        text.append(meaning).append("@").append(std::to_string(n % 10)).append("\r\n");
    }
    return text;
}

class Window {
public:
    Window() {
        QDir().mkpath(m_dir.filePath("dat"));
        write(m_dir.filePath("ti.txt"), "Lesson 1\r\n");
        write(m_dir.filePath("ai.txt"), "A\r\n");
        const std::string words = wordList();
        write(m_dir.filePath("dat/kwdc1.txt"), words);
        write(m_dir.filePath("dat/kwdc2.txt"), words);
        write(m_dir.filePath("dat/bookw.txt"), "");
        window = std::make_unique<TForm3>([] { return std::make_unique<FakeSpeechEngine>(); },
                                          DataFolder(m_dir.path()));
        window->FormCreate();
        window->resize(1280, 800);
        window->show();
        table = window->findChild<WordTableView*>("ListView1");
    }

    // The rows painted as the learner sees them.
    void paint() const { table->viewport()->repaint(); }

    QTemporaryDir m_dir;
    std::unique_ptr<TForm3> window;
    WordTableView* table = nullptr;
};

void openLetterGroupOf100kWords(benchmark::State& state) {
    Window shown;
    shown.window->findChild<QComboBox*>("ComboBox2")->setCurrentIndex(1);
    auto* groups = shown.window->findChild<QListWidget*>("ListBox2");
    groups->setCurrentRow(0);
    auto* chooser = shown.window->findChild<GroupChooser*>();
    for (auto _ : state) {
        emit chooser->groupDoubleClicked();
        shown.paint();
    }
    state.counters["rows"] = shown.table->model()->rowCount();
}
BENCHMARK(openLetterGroupOf100kWords)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(12)
    ->ReportAggregatesOnly();

void search100kWords(benchmark::State& state) {
    Window shown;
    shown.window->findChild<QLineEdit*>("Edit1")->setText(QStringLiteral("@["));
    auto* find = shown.window->findChild<QPushButton*>("Button2");
    for (auto _ : state) {
        find->click();
        shown.paint();
    }
    state.counters["rows"] = shown.table->model()->rowCount();
}
BENCHMARK(search100kWords)->Unit(benchmark::kMillisecond)->Repetitions(12)->ReportAggregatesOnly();

} // namespace
