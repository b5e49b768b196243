#include "vocabulary/dictation.h"

#include "core/byte_text.h"
#include "core/gbk_codec.h"

#include <utility>

namespace quorvella {

namespace {

const std::string& hintCaption() {
    static const std::string caption = encodeGbk(u"首字母提示：");
    return caption;
}

const std::string kBlank = " ";

} // namespace

Dictation::Dictation(DataFolder folder, SpeechEngine& engine, MessagePort& messages,
                     OpenLines openLines)
    : WordGroupStudy(std::move(folder), std::move(openLines)), m_engine(engine),
      m_messages(messages), m_hint(hintCaption()) {}

void Dictation::setShowsWord(bool shows) {
    m_showsWord = shows;
    m_wordDisplay = shows ? m_currentWord : kBlank;
}

void Dictation::setShowsPhonetic(bool shows) {
    m_showsPhonetic = shows;
    m_phoneticDisplay = shows ? m_currentPhonetic : kBlank;
}

void Dictation::setShowsInitial(bool shows) {
    m_showsInitial = shows;
    m_hint = shows ? hintCaption() + initialOfCurrentWord() : hintCaption();
}

// The first letter of the current word: its first character, so that a word that begins with a
// Chinese character shows that character whole.
std::string Dictation::initialOfCurrentWord() const {
    if (m_currentWord.empty()) {
        return {};
    }
    return m_currentWord.substr(0, characterLength(m_currentWord, 0));
}

void Dictation::show(const WordRecord& record) {
    m_wordDisplay = kBlank;
    m_currentWord = record.field(1);
    m_currentPhonetic = record.field(2);
    if (m_showsWord) {
        m_wordDisplay = m_currentWord;
    }
    if (m_showsInitial) {
        m_hint = initialOfCurrentWord(); // the bare letter, without the hint's caption
    }
    if (m_showsPhonetic) {
        m_phoneticDisplay = m_currentPhonetic;
    }
    m_meaningDisplay = record.field(3);
    if (m_readsWords) {
        m_engine.SpeakText(decodeGbk(m_currentWord));
    }
}

void Dictation::rereadWord() {
    m_engine.SpeakText(decodeGbk(m_currentWord));
}

Dictation::Checked Dictation::check(const std::string& answer,
                                    const std::function<void()>& emptyAnswer) {
    if (m_currentWord.empty()) {
        m_messages.showMessage(QStringLiteral("请选定单词复习组"));
        return Checked::NoWord;
    }
    if (answer == m_currentWord) {
        m_prompt = QStringLiteral("输入正确，下一个：");
        emptyAnswer();
        move(Move::Next);
        return Checked::Right;
    }
    m_prompt = QStringLiteral("输入错误，请重新输入：");
    m_engine.SpeakText(QStringLiteral("sorry,you are not right!"));
    emptyAnswer();
    return Checked::Wrong;
}

} // namespace quorvella
