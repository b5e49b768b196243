#pragma once
// Reading the lesson pane aloud: the reading state, the engine calls of each event in order, the
// enabled state of the reading controls and what happens to the pane's focus afterwards.
// Rendering the controls, reading the pane and moving its caret and focus are left to the view.

#include "core/message_port.h"
#include "speech/speech_engine.h"

#include <QString>
#include <Qt>
#include <cstdint>
#include <string_view>

namespace quorvella {

class ReadAloudController final {
public:
    enum class State { Idle, Reading, Paused };

    // The controls whose enabled state follows the reading state.
    struct Controls {
        bool readAll = false;       // BitBtn1
        bool readSelection = false; // BitBtn2
        bool voiceList = false;     // ComboBox1 of the reading settings
        bool pause = false;         // BitBtn3
        bool resume = false;        // BitBtn4, "continue"
        bool stop = false;          // BitBtn5

        bool operator==(const Controls&) const = default;
    };

    // What the view does to the lesson pane once an event has been handled.
    enum class PaneFocus {
        Keep,                     // leave the caret, the selection and the focus alone
        GiveToPane,               // give the input focus to the pane; its selection stays
        CaretToStartAndGiveToPane // caret at the start with nothing selected, focus to the pane
    };

    static inline const QString nothingToReadMessage = QStringLiteral("没有内容可读");
    static inline const QString nothingSelectedMessage = QStringLiteral("并没有选定内容");

    // Texts are the pane's GBK bytes: the whole text with its line breaks as CR LF, the selection
    // as the pane gives it (empty when nothing is selected). An engine call that throws ends the
    // event there: the calls made before it stay made, the state does not change, and the error
    // escapes to the caller.
    ReadAloudController(SpeechEngine& engine, MessagePort& messages);
    ReadAloudController(const ReadAloudController&) = delete;
    ReadAloudController& operator=(const ReadAloudController&) = delete;

    // The texts handed to the engine: how many so far, and whether the last was the selection
    // (or else the whole text).
    struct Spoken {
        std::uint64_t count = 0;
        bool selection = false;
    };
    const Spoken& spoken() const { return m_spoken; }

    State state() const { return m_state; }
    Controls controls() const { return controlsFor(m_state); }
    static Controls controlsFor(State state);

    // The read-all and read-selection buttons do nothing in a state where they are disabled, and
    // so do pause, continue and stop.
    // The read-all button. A text that is empty once bytes 0x00-0x20 are trimmed from both ends
    // gives a message and no speech; otherwise the whole text, untrimmed, is spoken.
    PaneFocus readAll(std::string_view wholeText);
    // The read-selection button: the selected text exactly as selected, blanks included.
    PaneFocus readSelection(std::string_view selectedText);
    // The pause, continue and stop buttons, and the engine's end of text (the stop action,
    // whatever the state). paneHasSelection decides the focus: with a selection the pane gets it
    // back, so that the selection stays in view.
    PaneFocus pause(bool paneHasSelection);
    PaneFocus resume(bool paneHasSelection);
    PaneFocus stop(bool paneHasSelection);
    PaneFocus textDone(bool paneHasSelection);
    // A mouse button pressed on the pane. The left button is the pane's own business; any other
    // reads the selection if there is one, else the whole text, in every state.
    PaneFocus paneMousePressed(Qt::MouseButton button, std::string_view wholeText,
                               std::string_view selectedText);

    // Each showing of the window starts idle.
    void windowShown();
    // Hiding the window stops the engine (so does loading a lesson, which is LessonStudy's); the
    // controls keep their state until the end of text, the stop button or the next showing.
    void windowHidden();

private:
    PaneFocus readWhole(std::string_view wholeText);
    PaneFocus readSelected(std::string_view selectedText);
    PaneFocus speak(std::string_view text, bool selection, PaneFocus afterwards);
    // The stop action, also run when the stop button is disabled.
    PaneFocus stopReading(bool paneHasSelection);
    static PaneFocus focusRule(bool paneHasSelection);

    SpeechEngine& m_engine;
    MessagePort& m_messages;
    State m_state = State::Idle;
    Spoken m_spoken;
};

} // namespace quorvella
