#include "richtext/line_wrapping.h"

#include "richtext/pane_lines.h"
#include "richtext/rich_text_document.h"

#include <QElapsedTimer>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace quorvella {
namespace {

TEST(LineWrapping, MeasuresTheLongestRunBetweenLineBreaks) {
    const struct {
        QString text;
        qsizetype longest;
    } cases[] = {
        {QString(), 0},
        {QStringLiteral("It is a dog."), 4}, // "dog."
        {QStringLiteral("中文的课文"), 1},   // a break may fall between characters
        {QStringLiteral("a ") + QString(1500, u'x'), 1500},
        {QString(600, u'x') + QStringLiteral("\n") + QString(700, u'y'), 700},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(longestUnbreakableRun(c.text), c.longest) << c.text.left(20).toStdString();
    }
    EXPECT_FALSE(wrapsAnywhere(QString(kLongestWordWrappedRun, u'x')));
    EXPECT_TRUE(wrapsAnywhere(QString(kLongestWordWrappedRun + 1, u'x')));
}

// A megabyte without a place to break is laid out in seconds, not minutes; the text after it
// wraps at word boundaries again.
TEST(LineWrapping, APaneLaysOutAMegabyteWithNoBreakInBoundedTime) {
    QTextEdit pane;
    pane.resize(600, 400);
    pane.show();
    QElapsedTimer clock;
    clock.start();
    setPaneContent(*pane.document(), {std::nullopt, QString(1024 * 1024, u'w')});
    EXPECT_GT(paneLines(pane).size(), 1000U); // the whole document laid out
    EXPECT_LT(clock.elapsed(), 15000);
    EXPECT_EQ(pane.document()->defaultTextOption().wrapMode(), QTextOption::WrapAnywhere);

    setPaneContent(*pane.document(), {std::nullopt, QStringLiteral("It is a dog.")});
    EXPECT_EQ(pane.document()->defaultTextOption().wrapMode(),
              QTextOption::WrapAtWordBoundaryOrAnywhere);
    EXPECT_EQ(pane.toPlainText(), "It is a dog.");
}

// An RTF pane measures the text its document holds, as a plain pane does: no paragraph break
// follows its last paragraph, so a last run of kLongestWordWrappedRun characters still wraps at
// word boundaries, and one more character makes it wrap anywhere.
TEST(LineWrapping, RtfAndPlainPanesWrapTheSameTextAlike) {
    QTextEdit pane;
    for (const qsizetype length : {kLongestWordWrappedRun, kLongestWordWrappedRun + 1}) {
        const QString last = QStringLiteral("a ") + QString(length, u'x');
        RtfDocument rtf;
        rtf.paragraphs.push_back({{{QStringLiteral("It is a dog."), {}}}});
        rtf.paragraphs.push_back({{{last, {}}}});
        rtf.complete = true;
        setPaneContent(*pane.document(), {std::nullopt, QStringLiteral("It is a dog.\n") + last});
        const QTextOption::WrapMode plain = pane.document()->defaultTextOption().wrapMode();
        setPaneContent(*pane.document(), {rtf, QString()});
        EXPECT_EQ(pane.document()->defaultTextOption().wrapMode(), plain) << length;
        EXPECT_EQ(plain, length > kLongestWordWrappedRun
                             ? QTextOption::WrapAnywhere
                             : QTextOption::WrapAtWordBoundaryOrAnywhere)
            << length;
    }
}

} // namespace
} // namespace quorvella
