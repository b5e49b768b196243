#include "lessons/text_tools.h"

#include "core/app_error.h"
#include "core/gbk_codec.h"
#include "tests/support/qt_printers.h"
#include "tests/support/recording_message_port.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quorvella {
namespace {

TEST(TextTools, TheDialogsOpenOnTheirFirstChoiceThenOnTheLast) {
    RecordingMessagePort port;
    TextTools tools(port);
    const TextFont first = tools.fontDialogFont();
    EXPECT_EQ(first.face, "MS Sans Serif");
    EXPECT_EQ(first.pointSize, 8);
    EXPECT_EQ(first.weight, 400);
    EXPECT_FALSE(first.colour) << "the system's window text colour";
    EXPECT_EQ(tools.colourDialogColour(true), Rgb(0x000000));

    const TextFont serif{QStringLiteral("DejaVu Serif"), 20, 700, true, false, false, 0x123456};
    tools.fontChosen(serif);
    tools.colourChosen(0xFF0000);
    EXPECT_EQ(tools.fontDialogFont(), serif);
    EXPECT_EQ(tools.colourDialogColour(true), Rgb(0xFF0000));
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST(TextTools, ColouringWithNothingSelectedGivesTheMessageAndNoDialog) {
    RecordingMessagePort port;
    TextTools tools(port);
    EXPECT_EQ(tools.colourDialogColour(false), std::nullopt);
    EXPECT_EQ(port.messages, QStringList{"请先选取想要设置的单词或句子"});
}

TEST(TextTools, TheTranslationToggleFlipsThePaneAndItsCaption) {
    RecordingMessagePort port;
    TextTools tools(port);
    QStringList seen;
    for (int press = 0; press < 3; ++press) {
        seen << QStringLiteral("%1 %2")
                    .arg(tools.translationShown())
                    .arg(tools.translationCaption());
        tools.toggleTranslation();
    }
    EXPECT_EQ(seen, (QStringList{"0 中文翻译", "1 隐藏翻译", "0 中文翻译"}));
}

// An article is read whole before the pane is touched: RTF with its formatting, anything else
// as plain GBK text; a file that cannot be opened escapes as the error the learner sees.
TEST(TextTools, AnImportReadsTheFileAsRtfOrPlainTextAndRemembersIt) {
    RecordingMessagePort port;
    TextTools tools(port);
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const std::string& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
        return dir.filePath(name);
    };
    const QString plain = write("plain.txt", encodeGbk(u"An article\r\n文章"));
    const PaneContent text = tools.importArticle(plain);
    EXPECT_FALSE(text.rtf);
    EXPECT_EQ(text.plainText, QStringLiteral(u"An article\n文章"));
    EXPECT_EQ(tools.lastFile(), plain);

    const QString rtf = write("rich.rtf", R"({\rtf1\ansi {\b Bold} text\par})");
    EXPECT_TRUE(tools.importArticle(rtf).rtf);

    const QString missing = dir.filePath("none.txt");
    EXPECT_THROW(tools.importArticle(missing), AppError);
    EXPECT_EQ(tools.lastFile(), missing) << "the dialog opens where the learner last looked";
}

} // namespace
} // namespace quorvella
