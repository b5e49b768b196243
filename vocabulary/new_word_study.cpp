#include "vocabulary/new_word_study.h"

#include "core/gbk_codec.h"

#include <algorithm>
#include <utility>

namespace quorvella {

NewWordStudy::NewWordStudy(DataFolder folder, SpeechEngine& engine, MessagePort& messages,
                           IntervalTimer& timer, OpenLines openLines)
    : WordGroupStudy(std::move(folder), std::move(openLines)), m_engine(engine),
      m_messages(messages), m_timer(timer) {}

void NewWordStudy::show(const WordRecord& record) {
    m_word = record.field(1);
    m_phonetic = record.field(2);
    m_meaning = record.field(3);
    if (m_readsWords) {
        m_engine.SpeakText(decodeGbk(m_word));
    }
    groups().splite2(m_word);
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
    if (groups().searchLessonWords(text) == 0) {
        m_messages.showMessage(QStringLiteral("在本教材单词表中，找不到你的内容"));
    }
}

} // namespace quorvella
