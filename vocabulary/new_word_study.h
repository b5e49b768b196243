#pragma once
// The new-word window's rules: showing the selected word with its details and speech, the moves,
// re-reading, automatic reading at an interval, and the search of the textbook's word list.
// The widgets, the Qt timer behind IntervalTimer and the focus are left to the view.

#include "core/message_port.h"
#include "speech/speech_engine.h"
#include "vocabulary/interval_timer.h"
#include "vocabulary/word_group_study.h"

#include <string>
#include <string_view>

namespace quorvella {

class NewWordStudy final : public WordGroupStudy {
public:
    static constexpr int kMinimumInterval = 1;
    static constexpr int kMaximumInterval = 30;
    static constexpr int kInitialInterval = 3;

    NewWordStudy(DataFolder folder, SpeechEngine& engine, MessagePort& messages,
                 IntervalTimer& timer, OpenLines openLines = openLineReader);

    // The three displays (GBK bytes); empty at creation. The word display is the current word.
    const std::string& wordDisplay() const { return m_word; }
    const std::string& phoneticDisplay() const { return m_phonetic; }
    const std::string& meaningDisplay() const { return m_meaning; }
    const WordDetails& details() const { return groups().details(); }

    // "朗读单词".
    bool readsWords() const { return m_readsWords; }
    void setReadsWords(bool reads) { m_readsWords = reads; }

    // The picture button: speaks the current word, ticked or not.
    void rereadWord();

    // "自动朗读": the timer on; when it is on already, it runs on undisturbed.
    void startAutoReading();
    // "停止朗读", and closing the window: the timer off.
    void stopAutoReading();
    bool autoReading() const { return m_timer.isActive(); }
    // A tick: the same as "下一个". True when the word list is to get the focus.
    bool tick() { return move(Move::Next); }
    // The interval field changed to seconds: the timer's interval becomes seconds x 1000 ms, the
    // seconds kept within 1 to 30 (a field that is being typed in may hold any number for a
    // while). A running timer is started again, so that the next tick is a whole interval away.
    void setInterval(int seconds);

    // "查找": lists every line of the textbook's word list that holds text, as typed; when none
    // does, says so.
    void search(std::string_view text);

private:
    // The displays take fields 1 to 3 (a blank for a missing one), the word is spoken when
    // "朗读单词" is ticked, then its details are looked up.
    void show(const WordRecord& record) override;

    SpeechEngine& m_engine;
    MessagePort& m_messages;
    IntervalTimer& m_timer;
    std::string m_word;
    std::string m_phonetic;
    std::string m_meaning;
    bool m_readsWords = true;
    int m_intervalMs = kInitialInterval * 1000;
};

} // namespace quorvella
