// Automatic reading in the word bank window for 10,000 steps, each word spoken by the real engine
// on a silent output whose clock runs fast, and the timer at its shortest: the memory of the
// process after a warm-up and at the end.

#include "core/freed_memory.h"
#include "core/gbk_codec.h"
#include "speech/local_speech_engine.h"
#include "vocabulary/word_bank_window.h"
#include "vocabulary/word_widgets.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace {

using namespace quorvella;

constexpr int kLines = 12000;
constexpr int kWarmUpSteps = 1000;
constexpr int kSteps = 10000;

double residentMib() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

int threadCount() {
    return int(QDir(QStringLiteral("/proc/self/task"))
                   .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                   .size());
}

} // namespace

int main(int argc, char** argv) {
    quorvella::keepFreedMemoryForReuse(); // as quorvella does
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("dat"));
    {
        const std::string meaning = encodeGbk(u"n. 词义");
        const char* const words[] = {"apple", "river", "garden", "morning", "library"};
        std::string text;
        for (int n = 0; n < kLines; ++n) {
            text.append(words[n % 5]).append("@").append(meaning).append("\r\n");
        }
        QFile file(dir.filePath("dat/zsks.txt"));
        file.open(QIODevice::WriteOnly);
        file.write(text.data(), qint64(text.size()));
    }
    TForm8 window(
        [] { return std::make_unique<LocalSpeechEngine>(std::make_unique<NullAudioOutput>(50.0)); },
        DataFolder(dir.path()));
    window.FormCreate();
    window.resize(1280, 800);
    window.show();
    window.findChild<QComboBox*>("ComboBox3")->setCurrentIndex(25); // a to z
    window.findChild<QPushButton*>("Button2")->click();
    auto* table = window.findChild<WordTableView*>("ListView1");
    table->selectRow(0);
    window.findChild<QPushButton*>("Button8")->click(); // "自动朗读"
    auto* timer = window.findChild<QTimer*>("Timer1");
    timer->setInterval(1);

    const auto runTo = [&](int step) {
        while (table->currentIndex().row() < step && timer->isActive()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return table->currentIndex().row();
    };
    QElapsedTimer clock;
    clock.start();
    runTo(kWarmUpSteps);
    const double before = residentMib();
    const int threadsBefore = threadCount();
    const int reached = runTo(kWarmUpSteps + kSteps);
    const double after = residentMib();
    std::printf("steps=%d rss_before_mib=%.2f rss_after_mib=%.2f growth_mib=%.2f threads_before=%d "
                "threads_after=%d seconds=%.1f\n",
                reached - kWarmUpSteps, before, after, after - before, threadsBefore, threadCount(),
                double(clock.elapsed()) / 1000.0);
    return reached >= kWarmUpSteps + kSteps ? 0 : 1;
}
