// The answers of a unit, "textkey/<n>.txt": RTF or plain text loaded into the answers area's
// document as the window loads it. Loading either fills the document or fails with one of its
// two errors, leaving the document empty.

#include "core/app_error.h"
#include "fuzz/fuzz_input.h"
#include "richtext/rich_text_document.h"
#include "viewers/answer_units.h"

#include <QGuiApplication>

using namespace quorvella;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The documents lay out their text with fonts, so a GUI application runs (offscreen). It is
    // never destroyed: the run ends with exit(), in no order that Qt would expect.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static const QGuiApplication* application = new QGuiApplication(*argc, *argv);
    (void)application;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFolder scratch;
    static const QString path = *AnswerUnits::filePath(scratch.folder(), 0);
    scratch.write(QStringLiteral("textkey/0.txt"), fuzz::bytesOf(data, size));

    QTextDocument document;
    try {
        loadRichText(path, document);
    } catch (const AppError& error) {
        fuzz::check(error.text() == QStringLiteral("Failed to Load Stream"));
        fuzz::check(document.isEmpty());
    }
    document.toPlainText();
    return 0;
}
