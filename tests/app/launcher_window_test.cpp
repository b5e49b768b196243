#include "app/launcher_window.h"

#include "tests/support/qt_printers.h"

#include <QAccessible>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace quorvella {
namespace {

struct AccessibleText {
    QString name;
    QRect area; // in the window's coordinates
};

// The static texts a screen reader finds under node: shown ones only, the node itself left out.
void collectTexts(QAccessibleInterface* node, const QPoint& windowOrigin,
                  std::vector<AccessibleText>& texts) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (child == nullptr || child->state().invisible) {
            continue;
        }
        if (child->role() == QAccessible::StaticText) {
            texts.push_back(
                {child->text(QAccessible::Name), child->rect().translated(-windowOrigin)});
        }
        collectTexts(child, windowOrigin, texts);
    }
}

// The icon built into the program is the installed pictures, pixel for pixel, at each size.
TEST(Launcher, TheWindowIconIsTheIconPicturesAtEverySize) {
    const QIcon icon = programIcon();
    EXPECT_EQ(icon.availableSizes(),
              (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}}));
    for (const int size : {16, 24, 32, 48, 64}) {
        SCOPED_TRACE(size);
        const QImage picture =
            QImage(QStringLiteral(QUORVELLA_TEST_FIXTURES "/../../packaging/icons/quorvella-%1.png")
                       .arg(size))
                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(
            icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
            picture);
    }
    TForm1 launcher;
    EXPECT_EQ(launcher.windowIcon().availableSizes(), icon.availableSizes());
}

TEST(Launcher, ItsPaintedTextsAreReadWhereTheyArePainted) {
    TForm1 launcher;
    launcher.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&launcher));
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&launcher);
    ASSERT_NE(window, nullptr);
    std::vector<AccessibleText> texts;
    collectTexts(window, launcher.mapToGlobal(QPoint(0, 0)), texts);

    const QImage look = launcher.grab().toImage();
    const QRgb background = launcher.palette().color(QPalette::Window).rgb();
    for (const QString& wanted : {QStringLiteral("Tamsora"), QStringLiteral("版本1.0"),
                                  QStringLiteral("网址：www.quorvella.example")}) {
        const auto found = std::find_if(texts.begin(), texts.end(),
                                        [&](const AccessibleText& t) { return t.name == wanted; });
        ASSERT_NE(found, texts.end()) << wanted.toStdString() << " is not among the texts read";
        // Over the painted text: most of its area is ink, not the launcher's background.
        const QRect area = found->area & look.rect();
        ASSERT_FALSE(area.isEmpty()) << wanted.toStdString();
        int ink = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                ink += look.pixel(x, y) != background ? 1 : 0;
            }
        }
        EXPECT_GT(ink, area.width() * area.height() / 10) << wanted.toStdString();
    }
}

} // namespace
} // namespace quorvella
