// The main of the window benchmarks: an offscreen application, then the benchmarks.

#include "core/freed_memory.h"

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    quorvella::keepFreedMemoryForReuse(); // as quorvella does
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
