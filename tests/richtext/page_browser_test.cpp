#include "richtext/page_browser.h"

#include "richtext/html_page_text.h"

#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextDocument>

#include <string>
#include <vector>

namespace quorvella {
namespace {

void writeFile(const QString& path, const std::string& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
}

TEST(HtmlPageText, Utf8OnlyWhenAMetaTagDeclaresIt) {
    struct Case {
        const char* html;
        bool utf8;
    };
    const std::vector<Case> cases = {
        {R"(<head><meta charset="utf-8"></head>)", true},
        {R"(<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">)", true},
        {"<meta charset=utf8>", true},
        {R"(<meta name="author" content="x"><meta charset = 'UTF-8'>)", true},
        {R"(<meta http-equiv="Content-Type" content="text/html; charset=gb2312">)", false},
        {R"(<meta charset="gbk"><meta charset="utf-8">)", false}, // the first one decides
        {"<p>charset=utf-8</p>", false},
        {"<html><body>no declaration</body></html>", false},
        {"<meta charset=", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(declaresUtf8(c.html), c.utf8) << c.html;
    }
}

TEST(HtmlPageText, DecodesGb18030UnlessUtf8IsDeclaredOrMarked) {
    // "gb2312" is not trusted: 镕 (E9 46) lies outside it but inside GBK.
    EXPECT_EQ(decodeHtmlPage("<meta charset=gb2312>\xE9"
                             "F"),
              "<meta charset=gb2312>镕");
    EXPECT_EQ(decodeHtmlPage("<meta charset=utf-8>\xE4\xB8\xAD"), "<meta charset=utf-8>中");
    EXPECT_EQ(decodeHtmlPage("\xEF\xBB\xBF\xE4\xB8\xAD"), "中"); // byte order mark
}

class PageBrowserTest : public testing::Test {
protected:
    QString path(const QString& name) const { return m_folder.filePath(name); }

    QTemporaryDir m_folder;
    PageBrowser m_browser;
};

TEST_F(PageBrowserTest, ShowsGbkAndDeclaredUtf8Pages) {
    writeFile(path("abc/grammar.htm"), "<html><head><title>g</title></head><body>"
                                       "<p>\xD3\xEF\xB7\xA8 \xE9"
                                       "F</p></body></html>");
    writeFile(
        path("help/help.htm"),
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
        "charset=utf-8\"></head><body><p>\xE5\xB8\xAE\xE5\x8A\xA9 caf\xC3\xA9</p></body></html>");

    m_browser.showPage(path("abc/grammar.htm"));
    EXPECT_EQ(m_browser.toPlainText(), "语法 镕");
    m_browser.showPage(path("help/help.htm"));
    EXPECT_EQ(m_browser.toPlainText(), "帮助 café");
}

TEST_F(PageBrowserTest, LinksAndImagesResolveAgainstThePagesFolder) {
    writeFile(path("help/help.htm"), "<body><p>top</p><img src=\"pics/dot.png\">"
                                     "<a href=\"more/page2.htm\">next</a>"
                                     "<a name=\"end\"></a><p>end</p></body>");
    writeFile(path("help/more/page2.htm"), "<body><p>\xB5\xDA\xB6\xFE\xD2\xB3</p></body>");
    QImage dot(3, 2, QImage::Format_RGB32);
    dot.fill(Qt::red);
    QDir().mkpath(path("help/pics"));
    ASSERT_TRUE(dot.save(path("help/pics/dot.png")));

    m_browser.showPage(path("help/help.htm"));
    const QVariant image =
        m_browser.document()->resource(QTextDocument::ImageResource, QUrl("pics/dot.png"));
    EXPECT_EQ(image.value<QImage>().size(), QSize(3, 2));

    m_browser.setSource(QUrl("#end")); // an in-page anchor: the same page
    EXPECT_EQ(m_browser.source().toString(),
              QUrl::fromLocalFile(path("help/help.htm")).toString() + "#end");
    EXPECT_TRUE(m_browser.toPlainText().startsWith("top"));

    m_browser.setSource(QUrl("more/page2.htm")); // what following the link does
    EXPECT_EQ(m_browser.toPlainText(), "第二页");
}

TEST_F(PageBrowserTest, ShowingAPageAgainReadsItAgain) {
    const QString page = path("help/help.htm");
    writeFile(page, "<p>first</p>");
    m_browser.showPage(page);
    EXPECT_EQ(m_browser.toPlainText(), "first");

    writeFile(page, "<p>second</p>");
    m_browser.showPage(page);
    EXPECT_EQ(m_browser.toPlainText(), "second");

    m_browser.setSource(QUrl("#x")); // scrolled to an anchor: still the same page
    writeFile(page, "<p>third</p>");
    m_browser.showPage(page);
    EXPECT_EQ(m_browser.toPlainText(), "third");
}

TEST_F(PageBrowserTest, AMissingPageShowsWhyItCannotBeShown) {
    m_browser.showPage(path("abc/grammar.htm"));
    EXPECT_EQ(m_browser.toPlainText(),
              QStringLiteral("Cannot open file \"%1\". No such file or directory")
                  .arg(path("abc/grammar.htm")));
}

} // namespace
} // namespace quorvella
