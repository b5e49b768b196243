#include "richtext/pane_content.h"

#include "core/app_error.h"
#include "richtext/rich_text_document.h"

#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFont>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <string>
#include <vector>

namespace quorvella {
namespace {

const QString kFixtures = QStringLiteral(QUORVELLA_TEST_FIXTURES "/fixtures");

void writeFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
}

// The format of the character at position (the one after it: QTextCursor's is the one before).
QTextCharFormat formatAt(QTextDocument& document, int position) {
    QTextCursor cursor(&document);
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

TEST(PaneContent, RtfWhenItReadsAsSuchElsePlainGbkText) {
    struct Case {
        const char* what;
        std::string bytes;
        bool rtf;
        QString text;
    };
    const std::vector<Case> cases = {
        {"RTF", "{\\rtf1 hi\\par there}", true, "hi\nthere"},
        {"an empty but whole RTF document", "{\\rtf1\\ansi}", true, ""},
        {"RTF cut off after some text", "{\\rtf1 cut", true, "cut"},
        {"RTF cut off before any text shows its bytes", "{\\rtf1{\\fonttbl", false,
         "{\\rtf1{\\fonttbl"},
        {"every kind of line break", "a\r\nb\rc\nd\r\n", false, "a\nb\nc\nd\n"},
        {"a 0 byte ends plain text", std::string("ab\0cd", 5), false, "ab"},
        {"GBK, a GBK-only character included",
         "\xD6\xD0\xCE\xC4\xE9"
         "F",
         false, "中文镕"},
        {"an empty file", "", false, ""},
    };
    for (const Case& c : cases) {
        const PaneContent content = readPaneContent(c.bytes);
        EXPECT_EQ(content.rtf.has_value(), c.rtf) << c.what;
        EXPECT_EQ(content.rtf ? content.rtf->plainText() : content.plainText, c.text) << c.what;
    }
}

TEST(PaneContent, FailsToLoadWhenNeitherFormShowsAnything) {
    for (const std::string& bytes : {std::string("\0abc", 4), std::string("\0", 1)}) {
        try {
            readPaneContent(bytes);
            ADD_FAILURE() << "no error";
        } catch (const AppError& error) {
            EXPECT_EQ(error.text(), "Failed to Load Stream");
        }
    }
}

TEST(LoadRichText, ShowsAnRtfFileWithItsFormatting) {
    QTextDocument document;
    loadRichText(kFixtures + "/answers.rtf", document);
    ASSERT_EQ(document.blockCount(), 3);
    EXPECT_EQ(document.findBlockByNumber(0).text(), "第一单元答案");
    EXPECT_EQ(document.findBlockByNumber(1).text(), "Exercise 1");
    EXPECT_EQ(document.findBlockByNumber(2).text(), "1. The answer is (b).\t2. 镕 中");

    const QTextCharFormat heading = formatAt(document, 0);
    EXPECT_EQ(heading.fontWeight(), QFont::Bold);
    EXPECT_EQ(heading.fontPointSize(), 14.0);
    EXPECT_EQ(heading.fontFamilies().toStringList(), QStringList{"宋体"});
    EXPECT_EQ(heading.foreground().color(), QColor(192, 0, 0));

    const int italic = document.findBlockByNumber(2).position() + 17; // "(b)"
    EXPECT_TRUE(formatAt(document, italic).fontItalic());
    EXPECT_FALSE(formatAt(document, italic - 1).fontItalic());
    EXPECT_EQ(formatAt(document, italic - 1).fontWeight(), QFont::Normal);
}

TEST(LoadRichText, ShowsPlainGbkTextInTheDocumentsFont) {
    QTemporaryDir folder;
    const QString path = folder.filePath("0.txt");
    writeFile(path, "\xB4\xF0\xB0\xB8 \xE9"
                    "F\r\nline two\r\n");
    QTextDocument document;
    const QFont paneFont(QStringLiteral("DejaVu Serif"), 19);
    document.setDefaultFont(paneFont);
    // A formatted document before must leave no trace in the plain one after.
    loadRichText(kFixtures + "/answers.rtf", document);
    loadRichText(path, document);

    EXPECT_EQ(document.toPlainText(), "答案 镕\nline two\n");
    const QTextCharFormat format = formatAt(document, 0);
    EXPECT_FALSE(format.hasProperty(QTextFormat::FontWeight));
    EXPECT_FALSE(format.hasProperty(QTextFormat::FontPointSize));
    EXPECT_EQ(format.font().family(), paneFont.family());
}

TEST(LoadRichText, AMissingFileLeavesTheDocumentEmpty) {
    QTemporaryDir folder;
    const QString path = folder.filePath("-1.txt");
    QTextDocument document;
    document.setPlainText("the answers shown before");
    try {
        loadRichText(path, document);
        ADD_FAILURE() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.text(),
                  QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(path));
    }
    EXPECT_TRUE(document.isEmpty());
}

} // namespace
} // namespace quorvella
