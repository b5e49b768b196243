// The eight word banks in "dat": the input's first line names the bank (its first byte), the
// range of initials and the search text, separated by tabs; the rest is the bank file. The bank
// is listed, walked, read automatically and searched.

#include "fuzz/fuzz_input.h"
#include "tests/support/fake_speech_engine.h"
#include "tests/support/recording_message_port.h"
#include "vocabulary/word_bank_browser.h"

using namespace quorvella;

namespace {

class ManualTimer final : public IntervalTimer {
public:
    void start(int milliseconds) override { m_interval = milliseconds; }
    void stop() override { m_interval = 0; }
    bool isActive() const override { return m_interval > 0; }
    int interval() const override { return m_interval; }

private:
    int m_interval = 0;
};

std::string_view field(std::string_view& line) {
    const std::size_t at = std::min(line.find('\t'), line.size());
    const std::string_view result = line.substr(0, at);
    line.remove_prefix(std::min(at + 1, line.size()));
    return result;
}

void walk(WordBankBrowser& browser) {
    fuzz::check(browser.count() == browser.words().size());
    for (const Move move : {Move::First, Move::Next, Move::Next, Move::Last, Move::Previous}) {
        browser.move(move);
    }
    for (int row = -1; row < std::min(browser.words().size(), 4); ++row) {
        browser.select(row);
    }
    browser.startAutoReading(3);
    for (int step = 0; step < 4 && browser.autoReading(); ++step) {
        browser.tick();
    }
    browser.stopAutoReading();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFolder scratch;
    const fuzz::FirstLine input = fuzz::firstLine(fuzz::bytesOf(data, size));
    std::string_view settings = input.line;
    const int bank = settings.empty() ? 0 : static_cast<unsigned char>(settings[0]) % 8;
    settings.remove_prefix(std::min<std::size_t>(1, settings.size()));
    const std::string_view from = field(settings);
    const std::string_view to = field(settings);
    const std::string_view needle = field(settings);
    const QString file = QStringLiteral("dat/") + wordBanks()[std::size_t(bank)].file;
    scratch.write(file, input.rest);

    FakeSpeechEngine engine;
    RecordingMessagePort messages;
    ManualTimer timer;
    WordBankBrowser browser(scratch.folder(), engine, messages, timer);
    browser.create();
    browser.list(bank, from, to);
    walk(browser);
    browser.search(bank, needle);
    walk(browser);
    scratch.remove(file);
    return 0;
}
