#include "viewers/answer_units.h"
#include "viewers/answers_window.h"
#include "viewers/grammar_window.h"
#include "viewers/help_window.h"

#include "richtext/page_browser.h"
#include "tests/support/qt_printers.h"
#include "tests/support/recording_message_port.h"
#include "tests/support/splitter_drag.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace quorvella {
namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(AnswerUnits, FortyUnitsInVolumeOrderEachWithItsFile) {
    const QStringList& titles = AnswerUnits::titles();
    ASSERT_EQ(titles.size(), 40);
    struct Case {
        int position;
        QString title, file;
    };
    const DataFolder folder(QStringLiteral("/q"));
    const std::vector<Case> cases = {
        {0, "上册第一单元答案", "/q/textkey/0.txt"},
        {9, "上册第十单元答案", "/q/textkey/9.txt"},
        {10, "上册第十一单元答案", "/q/textkey/10.txt"},
        {19, "上册第二十单元答案", "/q/textkey/19.txt"},
        {24, "上册第二十五单元答案", "/q/textkey/24.txt"},
        {25, "下册第一单元答案", "/q/textkey/25.txt"},
        {39, "下册第十五单元答案", "/q/textkey/39.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(titles.at(c.position), c.title);
        EXPECT_EQ(AnswerUnits::filePath(folder, c.position), c.file);
    }
    EXPECT_EQ(AnswerUnits::filePath(folder, -1), std::nullopt);
}

class AnswersWindow : public testing::Test {
protected:
    void SetUp() override {
        window.show();
        list = window.findChild<QListWidget*>("ListBox1");
        area = window.findChild<QTextEdit*>("RichEdit1");
        ASSERT_NE(list, nullptr);
        ASSERT_NE(area, nullptr);
    }
    void doubleClick(int row) {
        QListWidgetItem* item = list->item(row);
        list->scrollToItem(item);
        QApplication::processEvents();
        const QPoint centre = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    }

    QTemporaryDir dir;
    RecordingMessagePort port;
    TForm6 window{DataFolder(dir.path())};
    QListWidget* list = nullptr;
    QTextEdit* area = nullptr;
};

TEST_F(AnswersWindow, TheLeftPaneStartsAt233PixelsAndTheLearnerCanDragIt) {
    auto* left = window.findChild<QWidget*>("Panel1");
    auto* splitter = window.findChild<QSplitter*>("Splitter1");
    ASSERT_NE(left, nullptr);
    ASSERT_NE(splitter, nullptr);
    window.resize(900, 600);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents(); // the layout requests posted by showing and resizing
    EXPECT_EQ(left->width(), 233);
    dragSplitterHandle(*splitter, 1, QPoint(80, 0));
    EXPECT_EQ(left->width(), 313);
}

TEST_F(AnswersWindow, StartsWithItsHintAndLoadsTheUnitDoubleClicked) {
    EXPECT_EQ(area->toPlainText(), "请用鼠标双击左边课目");
    writeFile(dir.filePath("textkey/25.txt"), "Unit 1 \xB4\xF0\xB0\xB8"); // 答案 in GBK
    doubleClick(25);
    EXPECT_EQ(area->toPlainText(), QStringLiteral(u"Unit 1 答案"));
    EXPECT_TRUE(port.errors.isEmpty());
}

TEST_F(AnswersWindow, AMissingFileLeavesTheAreaEmptyAndShowsTheError) {
    doubleClick(39);
    EXPECT_EQ(area->toPlainText(), "");
    ASSERT_EQ(port.errors.size(), 1);
    EXPECT_EQ(port.errors.front(),
              QStringLiteral("Cannot open file \"%1\". No such file or directory.")
                  .arg(dir.filePath("textkey/39.txt")));
}

TEST(DocumentViewers, ShowTheirPageEachTimeTheyAppearAndNotWhileVisible) {
    QTemporaryDir dir;
    // 镕 (E9 46) is in GBK but not in GB2312.
    writeFile(dir.filePath("abc/grammar.htm"),
              "<html><head><meta charset=\"gb2312\"><title>g</title></head><body>"
              "<p>\xE9\x46 grammar</p></body></html>");
    writeFile(dir.filePath("help/help.htm"),
              "<html><head><meta charset=\"GB18030\"></head><body><p>help</p>"
              "<p><a href=\"#x\">x</a></p></body></html>");
    writeFile(dir.filePath("help/other.htm"), "<html><body><p>another page</p></body></html>");
    RecordingMessagePort port;
    TForm5 grammar{DataFolder(dir.path())};
    TForm10 help{DataFolder(dir.path())};
    help.FormCreate();

    grammar.show();
    EXPECT_TRUE(grammar.browser().toPlainText().contains(QStringLiteral(u"镕 grammar")))
        << grammar.browser().toPlainText().toStdString();

    int navigations = 0;
    QObject::connect(&help.browser(), &QTextBrowser::sourceChanged, [&] { ++navigations; });
    help.show();
    EXPECT_EQ(navigations, 1);
    EXPECT_TRUE(help.browser().toPlainText().contains("help"));
    help.show(); // pressed again while visible: no new navigation
    EXPECT_EQ(navigations, 1);
    // Followed within the page, then to another page: shown again, the window is back on its
    // page, at its top.
    for (const QString& link : {QStringLiteral("#x"), QStringLiteral("other.htm")}) {
        help.browser().setSource(QUrl(link));
        ASSERT_NE(help.browser().source(), QUrl::fromLocalFile(dir.filePath("help/help.htm")))
            << link.toStdString();
        const int beforeShowing = navigations;
        help.hide();
        help.show();
        EXPECT_GT(navigations, beforeShowing) << link.toStdString();
        EXPECT_EQ(help.browser().source().toString(),
                  QUrl::fromLocalFile(dir.filePath("help/help.htm")).toString());
        EXPECT_TRUE(help.browser().toPlainText().contains("help"));
        EXPECT_FALSE(help.browser().toPlainText().contains("another page"));
    }
    EXPECT_TRUE(port.errors.isEmpty()) << port.errors.join('\n').toStdString();
}

} // namespace
} // namespace quorvella
