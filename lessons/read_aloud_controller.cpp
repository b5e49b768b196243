#include "lessons/read_aloud_controller.h"

#include "core/byte_text.h"
#include "core/gbk_codec.h"

namespace quorvella {

ReadAloudController::ReadAloudController(SpeechEngine& engine, MessagePort& messages)
    : m_engine(engine), m_messages(messages) {}

ReadAloudController::Controls ReadAloudController::controlsFor(State state) {
    switch (state) {
    case State::Idle:
        return {.readAll = true, .readSelection = true, .voiceList = true};
    case State::Reading:
        return {.pause = true, .stop = true};
    case State::Paused:
        return {.resume = true, .stop = true};
    }
    return {};
}

ReadAloudController::PaneFocus ReadAloudController::readAll(std::string_view wholeText) {
    if (!controls().readAll) {
        return PaneFocus::Keep;
    }
    return readWhole(wholeText);
}

ReadAloudController::PaneFocus ReadAloudController::readSelection(std::string_view selectedText) {
    if (!controls().readSelection) {
        return PaneFocus::Keep;
    }
    return readSelected(selectedText);
}

ReadAloudController::PaneFocus ReadAloudController::pause(bool paneHasSelection) {
    if (!controls().pause) {
        return PaneFocus::Keep;
    }
    m_engine.PauseSpeech();
    m_state = State::Paused;
    return focusRule(paneHasSelection);
}

ReadAloudController::PaneFocus ReadAloudController::resume(bool paneHasSelection) {
    if (!controls().resume) {
        return PaneFocus::Keep;
    }
    m_engine.ResumeSpeech();
    m_state = State::Reading;
    return focusRule(paneHasSelection);
}

ReadAloudController::PaneFocus ReadAloudController::stop(bool paneHasSelection) {
    if (!controls().stop) {
        return PaneFocus::Keep;
    }
    return stopReading(paneHasSelection);
}

ReadAloudController::PaneFocus ReadAloudController::textDone(bool paneHasSelection) {
    return stopReading(paneHasSelection);
}

ReadAloudController::PaneFocus
ReadAloudController::paneMousePressed(Qt::MouseButton button, std::string_view wholeText,
                                      std::string_view selectedText) {
    if (button == Qt::LeftButton) {
        return PaneFocus::Keep;
    }
    return selectedText.empty() ? readWhole(wholeText) : readSelected(selectedText);
}

void ReadAloudController::windowShown() {
    m_state = State::Idle;
}

void ReadAloudController::windowHidden() {
    m_engine.StopSpeech();
}

ReadAloudController::PaneFocus ReadAloudController::readWhole(std::string_view wholeText) {
    if (trimmed(wholeText).empty()) {
        m_messages.showMessage(nothingToReadMessage);
        return PaneFocus::Keep;
    }
    return speak(wholeText, false, PaneFocus::CaretToStartAndGiveToPane);
}

ReadAloudController::PaneFocus ReadAloudController::readSelected(std::string_view selectedText) {
    if (selectedText.empty()) {
        m_messages.showMessage(nothingSelectedMessage);
        return PaneFocus::Keep;
    }
    return speak(selectedText, true, PaneFocus::GiveToPane);
}

ReadAloudController::PaneFocus ReadAloudController::speak(std::string_view text, bool selection,
                                                          PaneFocus afterwards) {
    m_engine.StopSpeech();
    m_engine.SpeakText(decodeGbk(text));
    m_state = State::Reading;
    m_spoken = {m_spoken.count + 1, selection};
    return afterwards;
}

ReadAloudController::PaneFocus ReadAloudController::stopReading(bool paneHasSelection) {
    m_engine.StopSpeech();
    m_state = State::Idle;
    return focusRule(paneHasSelection);
}

ReadAloudController::PaneFocus ReadAloudController::focusRule(bool paneHasSelection) {
    return paneHasSelection ? PaneFocus::GiveToPane : PaneFocus::Keep;
}

} // namespace quorvella
