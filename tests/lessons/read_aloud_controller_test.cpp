#include "lessons/read_aloud_controller.h"

#include "core/app_error.h"
#include "core/gbk_codec.h"
#include "tests/support/fake_speech_engine.h"
#include "tests/support/qt_printers.h"
#include "tests/support/recording_message_port.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace quorvella {
namespace {

using State = ReadAloudController::State;
using Focus = ReadAloudController::PaneFocus;
using Controls = ReadAloudController::Controls;

const char* stateName(State state) {
    switch (state) {
    case State::Idle:
        return "Idle";
    case State::Reading:
        return "Reading";
    case State::Paused:
        return "Paused";
    }
    return "?";
}

// The pane of most cases: GBK bytes with a Chinese word, CR LF and blanks at both ends.
const std::string wholeText = encodeGbk(u"  Hello 世界\r\nworld\r\n");
const QString spokenWhole = QStringLiteral("SpeakText(  Hello 世界\r\nworld\r\n)");
const std::string selectedText = encodeGbk(u"世界");
const QString spokenSelection = QStringLiteral("SpeakText(世界)");

// A controller on a fake engine, brought to a state and its calls so far forgotten.
struct Reader {
    FakeSpeechEngine engine;
    RecordingMessagePort port;
    ReadAloudController controller{engine, port};

    explicit Reader(State from) {
        if (from != State::Idle) {
            controller.readAll("text");
        }
        if (from == State::Paused) {
            controller.pause(false);
        }
        engine.calls.clear();
    }
};

using Event = std::function<Focus(ReadAloudController&)>;

Focus shown(ReadAloudController& c) {
    c.windowShown();
    return Focus::Keep;
}

Focus hidden(ReadAloudController& c) {
    c.windowHidden();
    return Focus::Keep;
}

TEST(ReadAloudController, ControlsOfEachState) {
    //                                       all    sel    voices pause  cont.  stop
    EXPECT_EQ(ReadAloudController::controlsFor(State::Idle),
              (Controls{true, true, true, false, false, false}));
    EXPECT_EQ(ReadAloudController::controlsFor(State::Reading),
              (Controls{false, false, false, true, false, true}));
    EXPECT_EQ(ReadAloudController::controlsFor(State::Paused),
              (Controls{false, false, false, false, true, true}));
    FakeSpeechEngine engine;
    RecordingMessagePort port;
    EXPECT_EQ(ReadAloudController(engine, port).state(), State::Idle);
}

TEST(ReadAloudController, EveryEventFromEveryState) {
    const Event readAll = [](auto& c) { return c.readAll(wholeText); };
    const Event readSelection = [](auto& c) { return c.readSelection(selectedText); };
    const Event pause = [](auto& c) { return c.pause(false); };
    const Event resume = [](auto& c) { return c.resume(false); };
    const Event stop = [](auto& c) { return c.stop(false); };
    const Event textDone = [](auto& c) { return c.textDone(false); };
    const Event rightOnSelection = [](auto& c) {
        return c.paneMousePressed(Qt::RightButton, wholeText, selectedText);
    };
    const Event middleNoSelection = [](auto& c) {
        return c.paneMousePressed(Qt::MiddleButton, wholeText, "");
    };
    const Event left = [](auto& c) {
        return c.paneMousePressed(Qt::LeftButton, wholeText, selectedText);
    };
    const QString Stop = QStringLiteral("StopSpeech");

    struct Case {
        const char* event;
        Event run;
        State from, to;
        QStringList calls;
        Focus focus;
    };
    const std::vector<Case> cases = {
        {"read all",
         readAll,
         State::Idle,
         State::Reading,
         {Stop, spokenWhole},
         Focus::CaretToStartAndGiveToPane},
        {"read all", readAll, State::Reading, State::Reading, {}, Focus::Keep}, // disabled
        {"read all", readAll, State::Paused, State::Paused, {}, Focus::Keep},
        {"read selection",
         readSelection,
         State::Idle,
         State::Reading,
         {Stop, spokenSelection},
         Focus::GiveToPane},
        {"read selection", readSelection, State::Reading, State::Reading, {}, Focus::Keep},
        {"read selection", readSelection, State::Paused, State::Paused, {}, Focus::Keep},
        {"pause", pause, State::Idle, State::Idle, {}, Focus::Keep},
        {"pause", pause, State::Reading, State::Paused, {"PauseSpeech"}, Focus::Keep},
        {"pause", pause, State::Paused, State::Paused, {}, Focus::Keep},
        {"continue", resume, State::Idle, State::Idle, {}, Focus::Keep},
        {"continue", resume, State::Reading, State::Reading, {}, Focus::Keep},
        {"continue", resume, State::Paused, State::Reading, {"ResumeSpeech"}, Focus::Keep},
        {"stop", stop, State::Idle, State::Idle, {}, Focus::Keep},
        {"stop", stop, State::Reading, State::Idle, {Stop}, Focus::Keep},
        {"stop", stop, State::Paused, State::Idle, {Stop}, Focus::Keep},
        {"text done", textDone, State::Idle, State::Idle, {Stop}, Focus::Keep},
        {"text done", textDone, State::Reading, State::Idle, {Stop}, Focus::Keep},
        {"text done", textDone, State::Paused, State::Idle, {Stop}, Focus::Keep},
        {"right button",
         rightOnSelection,
         State::Idle,
         State::Reading,
         {Stop, spokenSelection},
         Focus::GiveToPane},
        {"right button",
         rightOnSelection,
         State::Reading,
         State::Reading,
         {Stop, spokenSelection},
         Focus::GiveToPane},
        {"right button",
         rightOnSelection,
         State::Paused,
         State::Reading,
         {Stop, spokenSelection},
         Focus::GiveToPane},
        {"middle button",
         middleNoSelection,
         State::Idle,
         State::Reading,
         {Stop, spokenWhole},
         Focus::CaretToStartAndGiveToPane},
        {"middle button",
         middleNoSelection,
         State::Reading,
         State::Reading,
         {Stop, spokenWhole},
         Focus::CaretToStartAndGiveToPane},
        {"middle button",
         middleNoSelection,
         State::Paused,
         State::Reading,
         {Stop, spokenWhole},
         Focus::CaretToStartAndGiveToPane},
        {"left button", left, State::Idle, State::Idle, {}, Focus::Keep},
        {"left button", left, State::Reading, State::Reading, {}, Focus::Keep},
        {"left button", left, State::Paused, State::Paused, {}, Focus::Keep},
        {"shown", shown, State::Idle, State::Idle, {}, Focus::Keep},
        {"shown", shown, State::Reading, State::Idle, {}, Focus::Keep},
        {"shown", shown, State::Paused, State::Idle, {}, Focus::Keep},
        {"hidden", hidden, State::Idle, State::Idle, {Stop}, Focus::Keep},
        {"hidden", hidden, State::Reading, State::Reading, {Stop}, Focus::Keep},
        {"hidden", hidden, State::Paused, State::Paused, {Stop}, Focus::Keep},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.event) + " from " + stateName(c.from));
        Reader reader(c.from);
        EXPECT_EQ(c.run(reader.controller), c.focus);
        EXPECT_EQ(reader.engine.calls, c.calls);
        EXPECT_EQ(reader.controller.state(), c.to) << stateName(reader.controller.state());
        EXPECT_EQ(reader.controller.controls(), ReadAloudController::controlsFor(c.to));
        EXPECT_TRUE(reader.port.messages.isEmpty());
    }
}

TEST(ReadAloudController, NothingToReadShowsAMessageAndChangesNothing) {
    const QString nothingToRead = QStringLiteral("没有内容可读");
    const QString nothingSelected = QStringLiteral("并没有选定内容");
    struct Case {
        const char* name;
        State from;
        Event run;
        QString message;
    };
    const std::vector<Case> cases = {
        {"empty pane", State::Idle, [](auto& c) { return c.readAll(""); }, nothingToRead},
        {"only blanks and line breaks", State::Idle,
         [](auto& c) { return c.readAll(std::string(" \t\r\n\0\x1F \r\n", 9)); }, nothingToRead},
        {"nothing selected", State::Idle, [](auto& c) { return c.readSelection(""); },
         nothingSelected},
        {"right button on a blank pane while reading", State::Reading,
         [](auto& c) { return c.paneMousePressed(Qt::RightButton, "\r\n  \r\n", ""); },
         nothingToRead},
        {"middle button on a blank pane while paused", State::Paused,
         [](auto& c) { return c.paneMousePressed(Qt::MiddleButton, "   ", ""); }, nothingToRead},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reader reader(c.from);
        EXPECT_EQ(c.run(reader.controller), Focus::Keep);
        EXPECT_EQ(reader.port.messages, QStringList{c.message});
        EXPECT_TRUE(reader.engine.calls.isEmpty());
        EXPECT_EQ(reader.controller.state(), c.from);
    }
}

TEST(ReadAloudController, TextsAreSpokenAsThePaneGivesThem) {
    Reader reader(State::Idle);
    reader.controller.readAll("welcome to here!");
    reader.controller.stop(false);
    reader.controller.readSelection("   "); // blanks selected: spoken, not trimmed
    EXPECT_EQ(reader.engine.calls, (QStringList{"StopSpeech", "SpeakText(welcome to here!)",
                                                "StopSpeech", "StopSpeech", "SpeakText(   )"}));
    EXPECT_TRUE(reader.port.messages.isEmpty());
}

TEST(ReadAloudController, WithASelectionTheFocusGoesBackToThePane) {
    struct Case {
        const char* event;
        State from;
        std::function<Focus(ReadAloudController&, bool)> run;
    };
    const std::vector<Case> cases = {
        {"pause", State::Reading, [](auto& c, bool s) { return c.pause(s); }},
        {"continue", State::Paused, [](auto& c, bool s) { return c.resume(s); }},
        {"stop", State::Paused, [](auto& c, bool s) { return c.stop(s); }},
        {"text done", State::Idle, [](auto& c, bool s) { return c.textDone(s); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.event);
        for (const bool selection : {true, false}) {
            Reader reader(c.from);
            EXPECT_EQ(c.run(reader.controller, selection),
                      selection ? Focus::GiveToPane : Focus::Keep);
            EXPECT_EQ(reader.engine.calls.size(), 1); // the event acted
        }
    }
}

TEST(ReadAloudController, AFailingEngineCallEndsTheEventBeforeTheStateChanges) {
    struct Case {
        const char* name;
        State from;
        const char* failing;
        Event run;
        QStringList callsMade;
    };
    const std::vector<Case> cases = {
        {"read all, stop fails",
         State::Idle,
         "StopSpeech",
         [](auto& c) { return c.readAll(wholeText); },
         {}},
        {"read all, speak fails",
         State::Idle,
         "SpeakText",
         [](auto& c) { return c.readAll(wholeText); },
         {"StopSpeech"}},
        {"right button while paused, speak fails",
         State::Paused,
         "SpeakText",
         [](auto& c) { return c.paneMousePressed(Qt::RightButton, wholeText, selectedText); },
         {"StopSpeech"}},
        {"pause fails", State::Reading, "PauseSpeech", [](auto& c) { return c.pause(true); }, {}},
        {"continue fails",
         State::Paused,
         "ResumeSpeech",
         [](auto& c) { return c.resume(true); },
         {}},
        {"stop fails", State::Paused, "StopSpeech", [](auto& c) { return c.stop(true); }, {}},
        {"text done, stop fails",
         State::Reading,
         "StopSpeech",
         [](auto& c) { return c.textDone(true); },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reader reader(c.from);
        reader.engine.failing.insert(QString::fromLatin1(c.failing));
        EXPECT_THROW(c.run(reader.controller), AppError);
        EXPECT_EQ(reader.engine.calls, c.callsMade);
        EXPECT_EQ(reader.controller.state(), c.from) << stateName(reader.controller.state());
    }
}

TEST(ReadAloudController, AFailureInAHandlerReachesTheErrorBox) {
    Reader reader(State::Idle);
    reader.engine.failing.insert(QStringLiteral("SpeakText"));
    runHandler([&] { reader.controller.readAll("Good morning"); });
    EXPECT_EQ(reader.port.errors, QStringList{"SpeakText failed."});
    EXPECT_EQ(reader.controller.state(), State::Idle);
}

} // namespace
} // namespace quorvella
