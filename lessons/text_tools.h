#pragma once
// The text tools of the lesson window: what the font, colour and file dialogs open on and keep
// for the run, the check before colouring a selection, the steps of restoring the pane's look,
// the translation toggle and the import of an outside article. Showing the dialogs and changing
// the panes are left to the view.

#include "core/message_port.h"
#include "richtext/pane_content.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace quorvella {

// A colour as 0xRRGGBB.
using Rgb = std::uint32_t;

// A font as the font dialog gives it: face, size, style and colour; by default the font the
// dialog first opens on.
struct TextFont {
    QString face = QStringLiteral("MS Sans Serif");
    int pointSize = 8;
    int weight = 400; // 100 (thin) to 900 (black); 700 is bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::optional<Rgb> colour; // none: the system's window text colour

    bool operator==(const TextFont&) const = default;
};

class TextTools final {
public:
    static inline const QString nothingSelectedMessage =
        QStringLiteral("请先选取想要设置的单词或句子");
    static inline const QString showTranslationCaption = QStringLiteral("中文翻译");
    static inline const QString hideTranslationCaption = QStringLiteral("隐藏翻译");

    // The panes' character heights, in pixels, at start and after restoring the default.
    static constexpr int kLessonPaneHeight = 24;
    static constexpr int kTranslationPaneHeight = 19;

    // Restoring the lesson pane's look, in this order; the face and style of the font stay, and
    // the whole text stays selected.
    enum class RestoreStep {
        TooltipBackground,     // the pane's background: the system's tooltip background colour
        SelectAll,             // select all the text of the pane
        WindowTextColour,      // the selection's text colour: the system's window text colour
        DefaultCharacterHeight // the font's character height: kLessonPaneHeight pixels
    };
    static constexpr std::array<RestoreStep, 4> restoreDefaultSteps{
        RestoreStep::TooltipBackground, RestoreStep::SelectAll, RestoreStep::WindowTextColour,
        RestoreStep::DefaultCharacterHeight};

    explicit TextTools(MessagePort& messages);
    TextTools(const TextTools&) = delete;
    TextTools& operator=(const TextTools&) = delete;

    // Text settings. The font dialog opens on its own font, not on the pane's: at first
    // "MS Sans Serif", 8 points, in the system's window text colour; after each OK on the font
    // chosen, which the whole pane then takes. A cancel changes nothing.
    const TextFont& fontDialogFont() const { return m_font; }
    void fontChosen(const TextFont& font) { m_font = font; }

    // Selection settings. With nothing selected: the message, and no dialog (returns nothing).
    // Otherwise the colour the colour dialog opens on: black at first, then the last chosen.
    std::optional<Rgb> colourDialogColour(bool paneHasSelection);
    void colourChosen(Rgb colour) { m_colour = colour; }

    // The translation toggle: hidden at start; each press shows a hidden pane or hides a shown
    // one, whether or not the window is on screen.
    bool translationShown() const { return m_translationShown; }
    const QString& translationCaption() const {
        return m_translationShown ? hideTranslationCaption : showTranslationCaption;
    }
    void toggleTranslation() { m_translationShown = !m_translationShown; }

    // Import of an outside article. The file dialog opens where the last file was chosen; the
    // file chosen is read and understood whole before the pane is touched, so that one that
    // cannot be opened or shown (the error escapes) leaves the pane as it was. RTF keeps its
    // formatting, anything else is plain GBK text.
    const QString& lastFile() const { return m_lastFile; }
    PaneContent importArticle(const QString& path);

private:
    MessagePort& m_messages;
    TextFont m_font;
    Rgb m_colour = 0x000000;
    bool m_translationShown = false;
    QString m_lastFile;
};

} // namespace quorvella
