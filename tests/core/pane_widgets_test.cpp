#include "core/pane_splitter.h"
#include "core/selectable_label.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace quorvella {
namespace {

// A pane that counts how often it is measured.
class MeasuredPane final : public QWidget {
public:
    QSize sizeHint() const override {
        ++measured;
        return {80, 60};
    }
    QSize minimumSizeHint() const override {
        ++measured;
        return {40, 30};
    }
    mutable int measured = 0;
};

struct SplitWindow {
    SplitWindow() {
        window.resize(600, 400);
        splitter = new PaneSplitter(Qt::Horizontal, &window);
        splitter->addPane(left);
        splitter->addPane(right);
        window.setCentralWidget(splitter);
    }
    QMainWindow window;
    PaneSplitter* splitter = nullptr;
    MeasuredPane* left = new MeasuredPane;
    MeasuredPane* right = new MeasuredPane;
};

TEST(PaneSplitter, MeasuresNothingUntilShownThenShowsItsPanesAtTheirStartingSizes) {
    SplitWindow split;
    int lengthGiven = -1;
    split.splitter->setStartingSizes([&](int length) {
        lengthGiven = length;
        return QList<int>{length - 150 - split.splitter->handleWidth(), 150};
    });
    EXPECT_EQ(split.left->measured + split.right->measured, 0);
    EXPECT_EQ(split.splitter->count(), 2);

    split.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&split.window));
    EXPECT_TRUE(split.left->isVisible());
    EXPECT_TRUE(split.right->isVisible());
    EXPECT_EQ(lengthGiven, split.splitter->width());
    EXPECT_EQ(split.splitter->sizes().at(1), 150);
    EXPECT_EQ(split.right->width(), 150);

    // The learner's own sizes are kept when the window is shown again.
    split.splitter->setSizes({200, split.splitter->width() - 200 - split.splitter->handleWidth()});
    split.window.hide();
    split.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&split.window));
    EXPECT_EQ(split.left->width(), 200);
}

TEST(PaneSplitter, APaneAddedOnceShownIsShownAtOnce) {
    SplitWindow split;
    split.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&split.window));
    auto* late = new QWidget;
    split.splitter->addPane(late);
    EXPECT_TRUE(late->isVisible());
    EXPECT_EQ(split.splitter->count(), 3);
}

TEST(PaneSplitter, ASidePaneStartsAtItsWidthOnEitherSideAndKeepsItWhenTheWindowGrows) {
    for (const int side : {0, 1}) {
        SCOPED_TRACE(side);
        SplitWindow split;
        split.splitter->setSidePane(side, 150);
        split.window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&split.window));
        MeasuredPane* sidePane = side == 0 ? split.left : split.right;
        MeasuredPane* mainPane = side == 0 ? split.right : split.left;
        EXPECT_EQ(sidePane->width(), 150);
        EXPECT_EQ(mainPane->width(), split.splitter->width() - 150 - split.splitter->handleWidth());

        const int widthBefore = split.splitter->width();
        split.window.resize(800, 400);
        QApplication::processEvents();
        ASSERT_EQ(split.splitter->width(), widthBefore + 200);
        EXPECT_EQ(sidePane->width(), 150);
        EXPECT_EQ(mainPane->width(), split.splitter->width() - 150 - split.splitter->handleWidth());
        EXPECT_FALSE(split.splitter->isCollapsible(0));
        EXPECT_FALSE(split.splitter->isCollapsible(1));
    }
}

TEST(SelectableLabel, TheLearnerSelectsItsTextWithTheMouseOnceShown) {
    QWidget window;
    auto* label = new SelectableLabel(QStringLiteral("<b>abandon</b> 放弃"), &window);
    (new QVBoxLayout(&window))->addWidget(label);
    label->setText(QStringLiteral("<b>abandon</b> 放弃, 遗弃"));
    window.resize(400, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(label->textFormat(), Qt::PlainText); // shown as it stands, tags and all

    const QPoint left =
        label->mapTo(&window, QPoint(label->width() / 2 - 150, label->height() / 2));
    const QPoint right = left + QPoint(300, 0);
    QWindow* handle = window.windowHandle();
    QTest::mousePress(handle, Qt::LeftButton, {}, left);
    for (int x = 10; x <= 300; x += 10) {
        QTest::mouseMove(handle, left + QPoint(x, 0));
    }
    QTest::mouseRelease(handle, Qt::LeftButton, {}, right);
    EXPECT_FALSE(label->selectedText().isEmpty());
    EXPECT_TRUE(label->text().contains(label->selectedText()));
}

} // namespace
} // namespace quorvella
