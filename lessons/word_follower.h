#pragma once
// Follows the voice through the lesson pane: which stretch of the pane holds the word being read,
// from the word positions the engine reports in the text it was given. Drawing the mark and
// keeping it in view are left to the view.

#include <QList>
#include <QString>
#include <optional>

namespace quorvella {

class WordFollower final {
public:
    // A stretch of the pane's plain text, as positions of its characters.
    struct PaneSpan {
        int position = 0;
        int length = 0;

        bool operator==(const PaneSpan&) const = default;
    };

    // The engine was given spokenText, which is the pane's text from panePosition on with each
    // line break written as CR LF. The mark of any earlier text goes.
    void started(const QString& spokenText, int panePosition);
    // The engine reached the word at offset, length in the text it was given: that word is marked.
    // A word outside the text is not (nothing changes).
    void wordReached(int offset, int length);
    // Reading has stopped or ended, or the pane's text was replaced: no word is marked, nor any
    // word reported after this until a text is started again.
    void stopped();

    const std::optional<PaneSpan>& mark() const { return m_mark; }

private:
    int panePositionOf(int offset) const;

    int m_textLength = 0;
    int m_panePosition = 0;
    QList<int> m_returns; // offsets in the spoken text of each CR that begins a CR LF
    std::optional<PaneSpan> m_mark;
};

} // namespace quorvella
