#pragma once
// The font dialog of the lesson window's text settings: Qt's font choice with a colour choice
// beside it, since the pane's font carries its colour. What it opens on is the caller's.

#include <QColor>
#include <QDialog>
#include <QFont>
#include <optional>

class QFontDialog;
class QPushButton;

namespace quorvella {

struct FontAndColour {
    QFont font;
    QColor colour;
};

class FontColourDialog final : public QDialog {
    Q_OBJECT

public:
    explicit FontColourDialog(const FontAndColour& initial, QWidget* parent = nullptr);

    FontAndColour chosen() const;
    void setColour(const QColor& colour);

    // Opens the dialog modally; nothing when the learner cancels.
    static std::optional<FontAndColour> ask(const FontAndColour& initial, QWidget* parent);

private:
    void chooseColour();

    QFontDialog* m_fonts;
    QPushButton* m_colourButton;
    QColor m_colour;
};

} // namespace quorvella
