#include "app/launcher_window.h"

#include "app/program_icon_pixels.h"
#include "core/message_port.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace quorvella {

namespace {

const QColor kSkyBlue(0xA6, 0xCA, 0xF0);
const QColor kTeal(0x00, 0x80, 0x80);
const QColor kAqua(0x00, 0xFF, 0xFF);
const QString kAddress = QStringLiteral("www.quorvella.example");

// "隶书" when installed, else a bold Chinese font that is.
QString headingFamily() {
    const QStringList families = QFontDatabase::families();
    for (const QString& wanted :
         {QStringLiteral("隶书"), QStringLiteral("LiSu"), QStringLiteral("WenQuanYi Micro Hei"),
          QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC"),
          QStringLiteral("AR PL UMing CN")}) {
        if (families.contains(wanted)) {
            return wanted;
        }
    }
    return QFont().family();
}

QFont headingFont(int pixelSize, bool italic) {
    QFont font(headingFamily());
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setItalic(italic);
    return font;
}

struct LauncherButton {
    const char16_t* caption;
    int row, column;
};

constexpr LauncherButton kButtons[] = {
    {u"课文学习", 0, 0}, {u"生词学习", 0, 1}, {u"单词复习", 0, 2},
    {u"英语语法", 0, 3}, {u"课后答案", 0, 4}, {u"模拟测试", 1, 0},
    {u"英语词库", 1, 1}, {u"软件帮助", 1, 2}, {u"退出程序", 1, 3},
};

constexpr int kLeft = 60;
constexpr int kFirstRow = 250;
constexpr int kColumnStep = 136;
constexpr int kRowStep = 96;

// The painted texts: the heading with its shadow, and under it the icon, the version and the
// web address on one line.
const QString kHeading = QStringLiteral("Tamsora");
const QString kVersion = QStringLiteral("版本1.0");
const QString kAddressLine = QStringLiteral("网址：") + kAddress;
constexpr QPoint kHeadingShadow(kLeft + 7, 120);
constexpr QPoint kHeadingOffset(-7, -2);
constexpr int kInfoLine = 160;

QFont infoFont() {
    return headingFont(19, false);
}

int infoBaseline() {
    return kInfoLine + 16 + QFontMetrics(infoFont()).ascent() / 2 - 2;
}

QPoint versionOrigin() {
    return {kLeft + 44, infoBaseline()};
}

QPoint addressOrigin() {
    return versionOrigin() + QPoint(QFontMetrics(infoFont()).horizontalAdvance(kVersion) + 40, 0);
}

// Where text drawn from the baseline origin in font covers.
QRect textArea(const QString& text, const QFont& font, QPoint origin) {
    return QFontMetrics(font).boundingRect(text).translated(origin);
}

QLabel* accessibleTextLabel(const QString& text, const QRect& area, QWidget* parent) {
    auto* label = new QLabel(parent); // no text of its own: the launcher paints it
    label->setAccessibleName(text);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setGeometry(area);
    return label;
}

} // namespace

void showActivityWindow(QWidget& window) {
    // Maximised; where no window manager maximises it, it still covers the screen.
    if (!window.isVisible() && window.screen()) {
        window.setGeometry(window.screen()->availableGeometry());
    }
    window.show();
    window.raise();
    window.activateWindow();
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
}

// Up to 64 pixels (the launcher draws it at 32 on a screen of twice the density): every size of
// a window's icon is sent to the X server as the window is made, and the two largest would add a
// third of a megabyte and a tenth of start-up. Desktops take the larger sizes from the installed
// icon files. The pictures are built in as pixels: decoding them would load the image-format
// plugins at start-up.
QIcon programIcon() {
    QIcon icon;
    for (const IconPixels& picture : kProgramIconPixels) {
        const QImage image(reinterpret_cast<const uchar*>(picture.pixels), picture.size,
                           picture.size, QImage::Format_ARGB32_Premultiplied);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Tamsora"));
    setWindowIcon(programIcon());
    setAccessibleName(QStringLiteral("Tamsora"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kSkyBlue);
    setPalette(palette);
    setAutoFillBackground(true);
    setCursor(Qt::CrossCursor);
    resize(800, 520);

    QFont buttonFont(QStringLiteral("MS Sans Serif"));
    buttonFont.setStyleHint(QFont::SansSerif);
    buttonFont.setPixelSize(16);
    buttonFont.setBold(true);
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        const LauncherButton& b = kButtons[i];
        auto* button = new QPushButton(QString::fromUtf16(b.caption), this);
        button->setObjectName(QStringLiteral("Button%1").arg(i + 1));
        button->setAccessibleName(button->text());
        button->setFont(buttonFont);
        button->setCursor(Qt::PointingHandCursor);
        button->setGeometry(kLeft + b.column * kColumnStep, kFirstRow + b.row * kRowStep, 97, 57);
        if (i + 1 == std::size(kButtons)) {
            Button9 = button;
            connectHandler(button, &QPushButton::clicked, this, &QWidget::close);
        } else {
            connect(button, &QPushButton::clicked, this,
                    [this, i] { runHandler([this, i] { showActivity(i); }); });
        }
    }

    const QFont heading = headingFont(77, true);
    m_heading =
        accessibleTextLabel(kHeading,
                            textArea(kHeading, heading, kHeadingShadow) |
                                textArea(kHeading, heading, kHeadingShadow + kHeadingOffset),
                            this);
    m_heading->setObjectName(QStringLiteral("heading"));
    m_version =
        accessibleTextLabel(kVersion, textArea(kVersion, infoFont(), versionOrigin()), this);
    m_version->setObjectName(QStringLiteral("version"));
    m_address = accessibleTextLabel(kAddressLine,
                                    textArea(kAddressLine, infoFont(), addressOrigin()), this);
    m_address->setObjectName(QStringLiteral("address"));
}

void TForm1::showActivity(std::size_t index) {
    if (QWidget* window = m_activities.at(index)) {
        showActivityWindow(*window);
    }
}

void TForm1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(headingFont(77, true));
    painter.setPen(kTeal);
    painter.drawText(kHeadingShadow, kHeading);
    painter.setPen(kAqua);
    painter.drawText(kHeadingShadow + kHeadingOffset, kHeading);

    // Drawn from the picture of the screen's own size: sharp on a screen of high density too.
    painter.drawPixmap(kLeft, kInfoLine, windowIcon().pixmap(QSize(32, 32), devicePixelRatioF()));
    painter.setFont(infoFont());
    painter.setPen(kTeal);
    painter.drawText(versionOrigin(), kVersion);
    painter.drawText(addressOrigin(), kAddressLine);
}

void TForm1::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

} // namespace quorvella
