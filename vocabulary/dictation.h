#pragma once
// The review window's dictation: the current word and phonetic of the selected entry, the
// display options and the first-letter hint, the moves, and checking the learner's answer.
// The widgets, the answer field's text and the focus are left to the view.

#include "core/message_port.h"
#include "speech/speech_engine.h"
#include "vocabulary/word_group_study.h"

#include <QString>
#include <functional>
#include <string>

namespace quorvella {

class Dictation final : public WordGroupStudy {
public:
    Dictation(DataFolder folder, SpeechEngine& engine, MessagePort& messages,
              OpenLines openLines = openLineReader);

    // The word being asked and its phonetic (GBK bytes): set at every selection of an entry and
    // at no other time; empty until the first.
    const std::string& currentWord() const { return m_currentWord; }
    const std::string& currentPhonetic() const { return m_currentPhonetic; }

    // The word panel's three displays and the first-letter hint (GBK bytes), and the prompt.
    const std::string& wordDisplay() const { return m_wordDisplay; }
    const std::string& phoneticDisplay() const { return m_phoneticDisplay; }
    const std::string& meaningDisplay() const { return m_meaningDisplay; }
    const std::string& hint() const { return m_hint; }
    const QString& prompt() const { return m_prompt; }

    // "朗读单词", ticked at first.
    bool readsWords() const { return m_readsWords; }
    void setReadsWords(bool reads) { m_readsWords = reads; }
    // "是否显示单词", "是否显示音标", "是否显示首字母": each click shows the current word, its
    // phonetic or "首字母提示：" with its first letter when ticked, and takes it away when not.
    bool showsWord() const { return m_showsWord; }
    void setShowsWord(bool shows);
    bool showsPhonetic() const { return m_showsPhonetic; }
    void setShowsPhonetic(bool shows);
    bool showsInitial() const { return m_showsInitial; }
    void setShowsInitial(bool shows);

    // The picture button: speaks the current word, ticked or not.
    void rereadWord();

    // "确定" or Enter with the answer typed (GBK bytes): compared byte for byte with the current
    // word. Right: the prompt says so and the next entry is selected. Wrong: the prompt says so
    // and "sorry,you are not right!" is spoken. Either way emptyAnswer runs in its place among
    // these steps (before the move, after the speech), and the answer field is then to get the
    // focus. Before any entry has been selected there is no word to check against: the learner
    // is asked to choose a group, and the answer stays.
    enum class Checked { Right, Wrong, NoWord };
    Checked check(const std::string& answer, const std::function<void()>& emptyAnswer);

private:
    // The entry becomes the current word: the displays follow the options, the meaning is shown,
    // and the word is spoken when "朗读单词" is ticked.
    void show(const WordRecord& record) override;
    std::string initialOfCurrentWord() const;

    SpeechEngine& m_engine;
    MessagePort& m_messages;
    std::string m_currentWord;
    std::string m_currentPhonetic;
    std::string m_wordDisplay = " ";
    std::string m_phoneticDisplay = " ";
    std::string m_meaningDisplay = " ";
    std::string m_hint;
    QString m_prompt = QStringLiteral("请输入单词");
    bool m_readsWords = true;
    bool m_showsWord = false;
    bool m_showsPhonetic = false;
    bool m_showsInitial = false;
};

} // namespace quorvella
