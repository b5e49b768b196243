#pragma once
// The word bank window's rules: the eight banks, listing a bank within a range of initial letters,
// searching a bank, showing and speaking the current word, the moves with their messages,
// automatic reading at a delay, and closing. The widgets, the Qt timer and the focus are left to
// the view.

#include "core/data_folder.h"
#include "core/message_port.h"
#include "speech/speech_engine.h"
#include "vocabulary/interval_timer.h"
#include "vocabulary/word_groups.h"
#include "vocabulary/word_list.h"

#include <QString>
#include <array>
#include <string>
#include <string_view>

namespace quorvella {

// One of the eight banks: the name the bank boxes show and its file in the folder "dat".
struct WordBank {
    QString name;
    QString file;
};

// The banks in the order of the bank boxes.
const std::array<WordBank, 8>& wordBanks();

// The initial that a letter range compares: the first byte of the line once bytes up to 32 are
// trimmed from both ends (nothing for a blank line).
std::string_view bankInitial(std::string_view line);

class WordBankBrowser final {
public:
    static constexpr int kMinimumDelay = 1;
    static constexpr int kMaximumDelay = 20;
    static constexpr int kInitialDelay = 2;

    static const QString kNoWords;       // "单词列表中还没有任何单词"
    static const QString kAlreadyFirst;  // "已经是第一个了"
    static const QString kAlreadyLast;   // "已经是最后一个了"
    static const QString kNotInThisBank; // "在该词库中找不到你要的内容"

    // openLines reads the bank files; tests may pass their own.
    WordBankBrowser(DataFolder folder, SpeechEngine& engine, MessagePort& messages,
                    IntervalTimer& timer, OpenLines openLines = openLineReader);

    // The window's creation: the window always speaks with the first voice.
    void create();

    const WordList& words() const { return m_words; }
    // For the view's model, which observes the list.
    WordList& words() { return m_words; }
    // The word count box: the rows of the last listing or search that got as far as counting.
    int count() const { return m_count; }
    // The word and meaning displays (GBK bytes), a blank at first.
    const std::string& wordDisplay() const { return m_word; }
    const std::string& meaningDisplay() const { return m_meaning; }

    // "是否发音", ticked at first.
    bool speaks() const { return m_speaks; }
    void setSpeaks(bool speaks) { m_speaks = speaks; }

    // "设置": the list is emptied, then the lines of bank (0-based) whose initial lies from from
    // to to (range texts, A-Z lowered) are listed as they were read, numbered from 1. The
    // initial of a line is the first byte of the line trimmed (nothing for a blank line);
    // initials are compared byte by byte, a shorter text before a longer one it begins. Lines
    // whose initial sorts before from are passed over; the first whose initial sorts after to
    // ends the listing, as the banks are sorted by word. Then the count is set and the first row
    // is selected as "第一个" does. True when the list is then to get the keyboard focus.
    bool list(int bank, std::string_view from, std::string_view to);

    // "查找": the list is emptied, then every line of bank (0-based) that holds needle (as
    // typed; an empty needle is held by none) is listed as it was read. No line found says so;
    // then the count is set and "第一个" follows with its own message when the list is empty.
    bool search(int bank, std::string_view needle);

    // The selection of the word list changed to row (-1: the selection was removed with no row
    // taking it). A row that becomes current is shown: the displays take its fields 1 and 2 (a
    // blank for a missing one) and, when "是否发音" is ticked, the speech is stopped and the word
    // spoken. A removed selection shows and speaks the row that lost it once more.
    void select(int row);

    // "第一个", "上一个", "下一个", "最后一个": an empty list says so; "上一个" on the first row
    // and "下一个" on the last say that they are there and stay; there is no wrap. True when
    // the list is then to get the keyboard focus (there were rows and no message).
    bool move(Move move);

    // "自动朗读" with the delay field's value: an empty list says so; otherwise the timer runs
    // at delaySeconds x 1000 ms (kept within 1 to 20 s), the first step one delay from now. A
    // timer that runs at that interval already runs on undisturbed; at another it starts again.
    void startAutoReading(int delaySeconds);
    // "停止朗读", "退出关闭" and the window's closing: the timer stops; the word being spoken
    // goes on.
    void stopAutoReading();
    bool autoReading() const { return m_timer.isActive(); }

    // A tick of the timer: "下一个" with its messages, then the timer stops when the last row
    // is current or the list is empty. A tick that falls due while a message of this window
    // is open waits for it to close and then runs, unless the timer has stopped meanwhile. True
    // when the list is to get the keyboard focus.
    bool tick();

private:
    // Empties the list, then reads the bank from the top and lists each line that judge takes,
    // as it was read, until judge says stop or the file ends. Returns the number listed.
    template <typename Judge>
    int fill(int bank, Judge judge);
    // Runs an operation that may show messages; a tick that fell due while one was open runs
    // when the outermost operation has ended.
    template <typename Operation>
    bool handle(Operation operation);
    bool moveNow(Move move);
    bool tickNow();
    void show(const WordRecord& record);
    void say(const QString& message);

    DataFolder m_folder;
    SpeechEngine& m_engine;
    MessagePort& m_messages;
    IntervalTimer& m_timer;
    OpenLines m_openLines;
    WordList m_words;
    int m_count = 0;
    std::string m_word = " ";
    std::string m_meaning = " ";
    bool m_speaks = true;
    int m_handling = 0;
    bool m_tickWaiting = false;
};

} // namespace quorvella
