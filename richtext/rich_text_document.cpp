#include "richtext/rich_text_document.h"

#include "core/line_readers.h"
#include "richtext/line_wrapping.h"

#include <QColor>
#include <QFont>
#include <QTextCharFormat>
#include <QTextCursor>

namespace quorvella {

namespace {

QTextCharFormat charFormatOf(const RtfCharFormat& format) {
    QTextCharFormat charFormat;
    charFormat.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    charFormat.setFontItalic(format.italic);
    charFormat.setFontUnderline(format.underline);
    if (format.pointSize) {
        charFormat.setFontPointSize(*format.pointSize);
    }
    if (!format.fontFamily.isEmpty()) {
        charFormat.setFontFamilies(QStringList{format.fontFamily});
    }
    if (const auto& color = format.foreground) {
        charFormat.setForeground(QColor(color->red, color->green, color->blue));
    }
    if (const auto& color = format.background) {
        charFormat.setBackground(QColor(color->red, color->green, color->blue));
    }
    return charFormat;
}

} // namespace

void fitWrapping(QTextDocument& document, QStringView text) {
    const QTextOption::WrapMode mode =
        wrapsAnywhere(text) ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    QTextOption option = document.defaultTextOption();
    if (option.wrapMode() == mode) {
        return;
    }
    document.clear();
    option.setWrapMode(mode);
    document.setDefaultTextOption(option);
}

void setRtfDocument(QTextDocument& document, const RtfDocument& rtf) {
    // Filling the document is no step the learner could undo.
    const bool undoRedo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    bool first = true;
    for (const RtfParagraph& paragraph : rtf.paragraphs) {
        if (!first) {
            cursor.insertBlock();
        }
        first = false;
        for (const RtfRun& run : paragraph.runs) {
            cursor.insertText(run.text, charFormatOf(run.format));
        }
    }
    cursor.endEditBlock();
    document.setUndoRedoEnabled(undoRedo);
}

void setPaneContent(QTextDocument& document, const PaneContent& content) {
    if (content.rtf) {
        fitWrapping(document, content.rtf->plainText());
        setRtfDocument(document, *content.rtf);
    } else {
        fitWrapping(document, content.plainText);
        document.setPlainText(content.plainText);
    }
}

void loadRichText(const QString& path, QTextDocument& document) {
    document.clear();
    setPaneContent(document, readPaneContent(readFileBytes(path)));
}

} // namespace quorvella
