#include "vocabulary/new_word_study.h"

#include "core/gbk_codec.h"

#include <algorithm>
#include <utility>

namespace quorvella {

NewWordStudy::NewWordStudy(DataFolder folder, SpeechEngine& engine, MessagePort& messages,
                           IntervalTimer& timer, OpenLines openLines)
    : m_groups(std::move(folder), std::move(openLines)), m_engine(engine), m_messages(messages),
      m_timer(timer) {}

void NewWordStudy::select(int row) {
    WordList& words = m_groups.words();
    if (row == words.selected()) {
        return;
    }
    words.setSelected(row);
    if (row < 0) {
        return;
    }
    const WordRecord& record = words.at(row);
    m_word = record.field(1);
    m_phonetic = record.field(2);
    m_meaning = record.field(3);
    if (m_readsWords) {
        m_engine.SpeakText(decodeGbk(m_word));
    }
    m_groups.splite2(m_word);
}

bool NewWordStudy::move(Move move) {
    const WordList& words = m_groups.words();
    const MoveOutcome outcome = moveSelection(move, words.size(), words.selected());
    select(outcome.selected);
    return outcome.giveFocus;
}

void NewWordStudy::rereadWord() {
    m_engine.SpeakText(decodeGbk(m_word));
}

void NewWordStudy::startAutoReading() {
    if (!m_timer.isActive()) {
        m_timer.start(m_intervalMs);
    }
}

void NewWordStudy::stopAutoReading() {
    m_timer.stop();
}

void NewWordStudy::setInterval(int seconds) {
    m_intervalMs = std::clamp(seconds, kMinimumInterval, kMaximumInterval) * 1000;
    if (m_timer.isActive()) {
        m_timer.stop();
        m_timer.start(m_intervalMs);
    }
}

void NewWordStudy::search(std::string_view text) {
    if (m_groups.searchLessonWords(text) == 0) {
        m_messages.showMessage(QStringLiteral("在本教材单词表中，找不到你的内容"));
    }
}

} // namespace quorvella
