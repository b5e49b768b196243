#include "lessons/font_colour_dialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvella {

namespace {

QIcon swatch(const QColor& colour) {
    QPixmap pixmap(32, 16);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(Qt::gray);
    painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
    return QIcon(pixmap);
}

} // namespace

FontColourDialog::FontColourDialog(const FontAndColour& initial, QWidget* parent)
    : QDialog(parent), m_fonts(new QFontDialog(this)),
      m_colourButton(new QPushButton(QStringLiteral("颜色..."), this)) {
    setObjectName(QStringLiteral("FontDialog"));
    setWindowTitle(QStringLiteral("字体"));
    // Qt's font choice as a part of this dialog: its own buttons give way to ours.
    m_fonts->setWindowFlags(Qt::Widget);
    m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_fonts->setCurrentFont(initial.font);
    m_fonts->setObjectName(QStringLiteral("fontChoice"));
    m_fonts->setAccessibleName(QStringLiteral("字体"));

    auto* colourLabel = new QLabel(QStringLiteral("颜色："), this);
    colourLabel->setBuddy(m_colourButton);
    m_colourButton->setObjectName(QStringLiteral("colourButton"));
    m_colourButton->setIconSize(QSize(32, 16));
    setColour(initial.colour);
    connect(m_colourButton, &QPushButton::clicked, this, &FontColourDialog::chooseColour);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(colourLabel);
    colourRow->addWidget(m_colourButton);
    colourRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fonts, 1);
    layout->addLayout(colourRow);
    layout->addWidget(buttons);
}

FontAndColour FontColourDialog::chosen() const {
    return {m_fonts->currentFont(), m_colour};
}

void FontColourDialog::setColour(const QColor& colour) {
    m_colour = colour;
    // The sample of Qt's font choice (the line in its "sample" frame) shows the colour too.
    for (auto* sample : m_fonts->findChildren<QLineEdit*>()) {
        if (qobject_cast<QGroupBox*>(sample->parentWidget()) != nullptr) {
            QPalette palette = sample->palette();
            palette.setColor(QPalette::Text, colour);
            sample->setPalette(palette);
        }
    }
    m_colourButton->setIcon(swatch(colour));
    m_colourButton->setAccessibleName(QStringLiteral("颜色 %1").arg(colour.name()));
}

void FontColourDialog::chooseColour() {
    const QColor colour = QColorDialog::getColor(m_colour, this, QStringLiteral("颜色"));
    if (colour.isValid()) {
        setColour(colour);
    }
}

std::optional<FontAndColour> FontColourDialog::ask(const FontAndColour& initial, QWidget* parent) {
    FontColourDialog dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.chosen();
}

} // namespace quorvella
