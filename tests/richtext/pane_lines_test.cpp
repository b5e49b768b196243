#include "richtext/pane_lines.h"

#include "richtext/pane_content.h"
#include "richtext/rich_text_document.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QTextDocument>
#include <QTextEdit>

#include <string>
#include <vector>

namespace quorvella {
namespace {

using Lines = std::vector<std::string>;

std::string joined(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
    }
    return text;
}

TEST(PaneLines, ParagraphsAreLinesAndALastEmptyLineDoesNotCount) {
    struct Case {
        const char* what;
        std::string file;
        Lines lines;
    };
    const std::vector<Case> cases = {
        {"two lines with a break after the last", "a\r\nb\r\n", {"a", "b"}},
        {"an empty line between is a line",
         "    Title\r\n\r\n    The end.",
         {"    Title", "", "    The end."}},
        {"an empty file has no line", "", {}},
        {"a file of line breaks", "\r\n\r\n", {"", ""}},
        {"GBK comes back as the same bytes, tabs kept",
         "\xD6\xD0\xCE\xC4\t\xE9"
         "F",
         {"\xD6\xD0\xCE\xC4\t\xE9"
          "F"}},
        {"RTF", "{\\rtf1 one\\line two\\par three\\line}", {"one", "two", "three"}},
    };
    for (const Case& c : cases) {
        QTextDocument document;
        setPaneContent(document, readPaneContent(c.file));
        EXPECT_EQ(paneLines(document, 600), c.lines) << c.what;
    }
}

TEST(PaneLines, ANarrowerWidthWrapsIntoMoreLinesKeepingEveryByte) {
    const QString text = QStringLiteral("    It is a dog. The dog runs after the ball in the park, "
                                        "and the children laugh. ")
                             .repeated(4);
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    document.setPlainText(text + "\nlast");

    const Lines wide = paneLines(document, 900);
    const Lines narrow = paneLines(document, 250);
    EXPECT_GT(wide.size(), 2u);
    EXPECT_GT(narrow.size(), wide.size());
    for (const Lines& lines : {wide, narrow}) {
        EXPECT_EQ(joined(lines), text.toStdString() + "last"); // spaces stay at the wrap
        EXPECT_EQ(lines.back(), "last");
    }
}

TEST(PaneLines, APaneGivesEveryLineAtItsOwnWidth) {
    QString text;
    for (int i = 0; i < 3000; ++i) {
        text +=
            QStringLiteral("Paragraph %1 of a long lesson that wraps at a narrow width.\n").arg(i);
    }
    QTextEdit pane;
    pane.resize(300, 200);
    pane.show();
    // Qt lays out only the visible part now and the rest later: the lines must not wait.
    pane.setPlainText(text);
    const Lines lines = paneLines(pane);

    QTextDocument same;
    same.setDefaultFont(pane.document()->defaultFont());
    same.setPlainText(text);
    EXPECT_EQ(lines, paneLines(same, pane.viewport()->width()));
    EXPECT_GT(lines.size(), 3000u); // wrapped
    EXPECT_EQ(joined(lines), text.remove('\n').toStdString());
}

} // namespace
} // namespace quorvella
