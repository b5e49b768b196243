#include "vocabulary/word_bank_browser.h"

#include "core/app_error.h"
#include "core/byte_text.h"
#include "core/gbk_codec.h"
#include "core/splite.h"

#include <algorithm>
#include <utility>

namespace quorvella {

const std::array<WordBank, 8>& wordBanks() {
    static const std::array<WordBank, 8> banks = {{
        {QStringLiteral("Tamsora"), QStringLiteral("zsks.txt")},
        {QStringLiteral("高中英语"), QStringLiteral("gz.dat")},
        {QStringLiteral("四级英语"), QStringLiteral("sj.dat")},
        {QStringLiteral("六级英语"), QStringLiteral("lj.dat")},
        {QStringLiteral("IELTS"), QStringLiteral("ielts.dat")},
        {QStringLiteral("TOEFL"), QStringLiteral("toefl.dat")},
        {QStringLiteral("GRE"), QStringLiteral("gre.dat")},
        {QStringLiteral("GMAT"), QStringLiteral("gmat.dat")},
    }};
    return banks;
}

std::string_view bankInitial(std::string_view line) {
    return trimmed(line).substr(0, 1);
}

const QString WordBankBrowser::kNoWords = QStringLiteral("单词列表中还没有任何单词");
const QString WordBankBrowser::kAlreadyFirst = QStringLiteral("已经是第一个了");
const QString WordBankBrowser::kAlreadyLast = QStringLiteral("已经是最后一个了");
const QString WordBankBrowser::kNotInThisBank = QStringLiteral("在该词库中找不到你要的内容");

WordBankBrowser::WordBankBrowser(DataFolder folder, SpeechEngine& engine, MessagePort& messages,
                                 IntervalTimer& timer, OpenLines openLines)
    : m_folder(std::move(folder)), m_engine(engine), m_messages(messages), m_timer(timer),
      m_openLines(std::move(openLines)) {}

void WordBankBrowser::create() {
    m_engine.SelectVoice(1);
}

template <typename Operation>
bool WordBankBrowser::handle(Operation operation) {
    ++m_handling;
    bool focus = false;
    try {
        focus = operation();
    } catch (...) {
        if (--m_handling == 0) {
            m_tickWaiting = false;
        }
        throw;
    }
    if (--m_handling == 0 && m_tickWaiting) {
        m_tickWaiting = false;
        if (m_timer.isActive()) {
            focus = tick() || focus;
        }
    }
    return focus;
}

template <typename Judge>
int WordBankBrowser::fill(int bank, Judge judge) {
    if (bank < 0 || std::size_t(bank) >= wordBanks().size()) {
        throw AppError(QStringLiteral("List index out of bounds (%1)").arg(bank));
    }
    WordList::Change change(m_words);
    m_words.clear();
    LineSource nextLine =
        m_openLines(m_folder.path(QStringLiteral("dat/") + wordBanks()[std::size_t(bank)].file));
    return scanLines(
        nextLine, [&judge](std::string_view line, int) { return judge(line); },
        [this](std::string_view line, int number) {
            m_words.append(WordRecord{number, splite(line)});
        });
}

bool WordBankBrowser::list(int bank, std::string_view from, std::string_view to) {
    return handle([&] {
        const std::string low = lowerAscii(from);
        const std::string high = lowerAscii(to);
        // string_view compares its bytes as unsigned values, a prefix before the longer text.
        m_count = fill(bank, [&](std::string_view line) {
            const std::string_view initial = bankInitial(line);
            if (initial > std::string_view(high)) {
                return LineVerdict::Stop;
            }
            return initial < std::string_view(low) ? LineVerdict::Skip : LineVerdict::Take;
        });
        return moveNow(Move::First);
    });
}

bool WordBankBrowser::search(int bank, std::string_view needle) {
    return handle([&] {
        const int found = fill(bank, [needle](std::string_view line) {
            return containsText(line, needle) ? LineVerdict::Take : LineVerdict::Skip;
        });
        if (found == 0) {
            say(kNotInThisBank);
        }
        m_count = found;
        return moveNow(Move::First);
    });
}

void WordBankBrowser::select(int row) {
    const int previous = m_words.selected();
    if (row == previous) {
        return; // no row changed its selected state
    }
    m_words.setSelected(row);
    show(m_words.at(row >= 0 ? row : previous));
}

void WordBankBrowser::show(const WordRecord& record) {
    m_word = record.field(1);
    m_meaning = record.field(2);
    if (m_speaks) {
        m_engine.StopSpeech();
        m_engine.SpeakText(decodeGbk(m_word));
    }
}

void WordBankBrowser::say(const QString& message) {
    m_messages.showMessage(message);
}

bool WordBankBrowser::move(Move move) {
    return handle([this, move] { return moveNow(move); });
}

bool WordBankBrowser::moveNow(Move move) {
    if (m_words.empty()) {
        say(kNoWords);
        return false;
    }
    const int current = m_words.selected();
    const int last = m_words.size() - 1;
    switch (move) {
    case Move::First:
        select(0);
        return true;
    case Move::Previous:
        if (current == 0) {
            say(kAlreadyFirst);
            return false;
        }
        if (current > 0) {
            select(current - 1);
        }
        return true;
    case Move::Next:
        if (current == last) {
            say(kAlreadyLast);
            return false;
        }
        select(current + 1); // the first row when none is current
        return true;
    case Move::Last:
        select(last);
        return true;
    }
    return false;
}

void WordBankBrowser::startAutoReading(int delaySeconds) {
    handle([this, delaySeconds] {
        if (m_words.empty()) {
            say(kNoWords);
            return false;
        }
        const int interval = std::clamp(delaySeconds, kMinimumDelay, kMaximumDelay) * 1000;
        if (!m_timer.isActive() || m_timer.interval() != interval) {
            m_timer.start(interval);
        }
        return false;
    });
}

void WordBankBrowser::stopAutoReading() {
    m_timer.stop();
}

bool WordBankBrowser::tick() {
    if (m_handling > 0) {
        m_tickWaiting = true; // a message is open: this tick comes when it has closed
        return false;
    }
    return handle([this] { return tickNow(); });
}

bool WordBankBrowser::tickNow() {
    const bool focus = moveNow(Move::Next);
    if (m_words.empty() || m_words.selected() == m_words.size() - 1) {
        m_timer.stop();
    }
    return focus;
}

} // namespace quorvella
