// The feeding of a sound device's stream, against a device whose played time the test moves on:
// what is written when, when ends of text are reported, when a stream may be closed, and what a
// stop or a lost sound server does to it.

#include "speech/stream_feeder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace quorvella {
namespace {

constexpr qint64 kRate = StreamFeeder::kRate;
constexpr qint64 kMs = kRate / 1000; // frames in a millisecond

// A stream on a sound server whose playing the test moves on. It holds what is written until it
// is played; what a close finds unplayed is lost.
class FakeDevice final : public AudioDevice {
public:
    bool refuses = false; // no stream can be opened
    int opens = 0;
    qint64 bufferFrames = 70 * kMs;  // what the server grants of the 100 ms asked
    qint64 lostAudio = 0;            // frames of sound a close dropped unplayed
    std::vector<std::int16_t> heard; // what every stream played, left channel

    bool open(qsizetype /*bufferBytes*/) override {
        if (refuses) {
            return false;
        }
        ++opens;
        m_open = true;
        m_suspended = false;
        m_stream.clear();
        m_played = 0;
        return true;
    }
    void close() override {
        if (m_open) {
            lostAudio += std::count_if(m_stream.begin() + std::ptrdiff_t(m_played), m_stream.end(),
                                       [](std::int16_t s) { return s != 0; });
        }
        m_open = false;
    }
    bool reopen(qsizetype bufferBytes) override {
        close();
        return open(bufferBytes);
    }
    bool isOpen() const override { return m_open; }
    void suspend() override { m_suspended = true; }
    void resume() override { m_suspended = false; }
    qsizetype bufferSize() const override { return qsizetype(bufferFrames) * 4; }
    qsizetype bytesFree() const override {
        return m_open ? qsizetype(bufferFrames - unplayed()) * 4 : 0;
    }
    qint64 write(const char* data, qint64 bytes) override {
        const auto* frames = reinterpret_cast<const std::int16_t*>(data);
        for (qint64 i = 0; i < bytes / 4; ++i) {
            m_stream.push_back(frames[2 * i]);
        }
        return bytes;
    }
    qint64 processedUSecs() const override { return m_played * 1'000'000 / kRate; }

    // The server plays frames of the stream, or as many as it holds; a suspended one plays none.
    void play(qint64 frames) {
        if (!m_open || m_suspended) {
            return;
        }
        const qint64 until = std::min(m_played + frames, qint64(m_stream.size()));
        heard.insert(heard.end(), m_stream.begin() + std::ptrdiff_t(m_played),
                     m_stream.begin() + std::ptrdiff_t(until));
        m_played = until;
    }
    qint64 unplayed() const { return qint64(m_stream.size()) - m_played; }
    qint64 written() const { return qint64(m_stream.size()); }
    void serverGoesAway() { m_open = false; }

private:
    bool m_open = false;
    bool m_suspended = false;
    std::vector<std::int16_t> m_stream;
    qint64 m_played = 0;
};

struct Report {
    qint64 atMs;
    bool endOfText;
    std::uint64_t generation;
};

class StreamFeederTest : public testing::Test {
protected:
    StreamFeederTest()
        : feeder(&device, [this](const PcmEvent& event, std::uint64_t generation) {
              reports.push_back({nowMs, event.endOfText, generation});
              if (onReport) {
                  onReport();
              }
          }) {
        feeder.attach(&queue);
    }

    // A text of ms milliseconds of sound at the output rate, with a word at its start.
    void pushText(qint64 ms) {
        PcmChunk chunk;
        chunk.sampleRate = int(kRate);
        chunk.samples.assign(std::size_t(ms * kMs), std::int16_t(8000));
        chunk.marks.push_back({0, {0, 4}});
        queue.push(std::move(chunk), queue.generation());
        queue.push(PcmChunk{{}, int(kRate), 1.0F, 1.0F, true, {}}, queue.generation());
    }
    void speak(qint64 ms) {
        pushText(ms);
        feeder.setState(true, false);
        feeder.tick(nowMs * 1000);
    }
    void stop() {
        feeder.setState(false, false);
        feeder.drop(queue.clear());
        feeder.tick(nowMs * 1000);
    }
    // The server plays with the given latency behind the feeder's ticks of 10 ms: what it holds
    // beyond the latency is not played yet.
    void runFor(qint64 ms, qint64 serverLagMs = 0) {
        for (qint64 t = 0; t < ms; t += 10) {
            nowMs += 10;
            if (nowMs > serverLagMs) {
                device.play(10 * kMs);
            }
            feeder.tick(nowMs * 1000);
        }
    }
    std::vector<Report> ends() const {
        std::vector<Report> result;
        std::copy_if(reports.begin(), reports.end(), std::back_inserter(result),
                     [](const Report& r) { return r.endOfText; });
        return result;
    }
    // Frames of sound heard.
    qint64 heardSound() const {
        return std::count_if(device.heard.begin(), device.heard.end(),
                             [](std::int16_t s) { return s != 0; });
    }

    FakeDevice device;
    PcmQueue queue;
    std::vector<Report> reports;
    std::function<void()> onReport;
    qint64 nowMs = 0;
    StreamFeeder feeder;
};

// A new stream is written nothing before its first audio, so that the word starts at once; its
// first audio is followed by silence to the whole buffer, which a stream waits for before it
// plays; after the text, silence keeps only a lead, so that the next text is heard soon.
TEST_F(StreamFeederTest, ANewStreamStartsWithTheAudioAndThenKeepsALead) {
    feeder.setState(true, false);
    feeder.tick(0);
    ASSERT_EQ(device.opens, 1);
    EXPECT_EQ(device.written(), 0) << "silence written before the first audio";
    pushText(30);
    feeder.tick(0);
    EXPECT_EQ(device.unplayed(), device.bufferFrames) << "a stream that will not start";
    runFor(20);
    ASSERT_GT(device.heard.size(), 0U);
    EXPECT_NE(device.heard.front(), 0) << "the word is held back behind silence";
    runFor(300);
    EXPECT_EQ(device.unplayed(), StreamFeeder::kLeadFrames) << "not the lead after the text";
    const qint64 before = nowMs;
    speak(100);
    runFor(200);
    ASSERT_EQ(ends().size(), 2U);
    EXPECT_NEAR(double(ends()[1].atMs - before), 100.0 + 40.0, 10.0) << "not right behind the lead";
}

// A text whose audio comes in pieces, the synthesiser slower than the stream at first: no
// silence is written between its pieces, which would be a gap in the word.
TEST_F(StreamFeederTest, NoSilenceIsWrittenInsideAText) {
    PcmChunk first;
    first.sampleRate = int(kRate);
    first.samples.assign(std::size_t(30 * kMs), std::int16_t(8000));
    queue.push(std::move(first), queue.generation());
    feeder.setState(true, false);
    runFor(50);
    pushText(100);
    runFor(400);
    ASSERT_EQ(ends().size(), 1U);
    const auto sound = [](std::int16_t s) { return s != 0; };
    const auto from = std::find_if(device.heard.begin(), device.heard.end(), sound);
    const auto to = std::find_if(device.heard.rbegin(), device.heard.rend(), sound).base();
    EXPECT_EQ(std::count(from, to, std::int16_t(0)), 0) << "silence inside the text";
    EXPECT_EQ(heardSound(), 130 * kMs);
}

// The end of a text is reported when the server has played its last frame, whatever its latency;
// a stream is closed only once it has played every frame of sound and lingered, so a server that
// plays late loses nothing.
TEST_F(StreamFeederTest, TheEndIsReportedWhenPlayedAndNoSoundIsClosedAway) {
    struct Case {
        qint64 serverLagMs;
    };
    for (const Case& c : {Case{0}, Case{1300}}) {
        SCOPED_TRACE(c.serverLagMs);
        device = FakeDevice();
        reports.clear();
        nowMs = 0;
        feeder.setState(false, false);
        feeder.tick(0);
        speak(400);
        runFor(300, c.serverLagMs);
        EXPECT_TRUE(ends().empty()) << "reported before the sound was played";
        runFor(c.serverLagMs + 400, c.serverLagMs);
        ASSERT_EQ(ends().size(), 1U);
        // Played in steps of 10 ms, the end is seen at the first tick after the last frame.
        EXPECT_NEAR(double(ends().front().atMs), double(c.serverLagMs + 400), 10.0);
        feeder.setState(false, false);
        runFor(StreamFeeder::kLingerUSecs / 1000 - 500, c.serverLagMs);
        EXPECT_TRUE(feeder.hasStream()) << "closed before it lingered";
        runFor(1000, c.serverLagMs);
        EXPECT_FALSE(feeder.hasStream());
        EXPECT_FALSE(feeder.needsTicks());
        EXPECT_EQ(device.lostAudio, 0);
        EXPECT_EQ(heardSound(), 400 * kMs);
    }
}

// Texts on one stream and on the next after a close: each end at its own stream's frame. A stop
// drops what the server holds at once, by replacing the stream, and the stopped text's end is
// never reported.
TEST_F(StreamFeederTest, EndsOfTextAcrossStopsAndStreams) {
    speak(200);
    runFor(300);
    ASSERT_EQ(ends().size(), 1U);
    speak(200); // the same stream, behind the silence it holds
    runFor(300);
    ASSERT_EQ(ends().size(), 2U);
    EXPECT_EQ(device.opens, 1);
    EXPECT_NEAR(double(ends()[1].atMs - 300), 240.0, 11.0) << "behind the lead the stream held";

    speak(500);
    runFor(100);
    stop();
    EXPECT_GT(device.lostAudio, 0) << "the stopped text was left to the server";
    EXPECT_EQ(device.opens, 2) << "the stream that held it was not replaced";
    const std::uint64_t stopped = queue.generation();
    speak(100);
    EXPECT_EQ(device.opens, 2);
    runFor(200);
    ASSERT_EQ(ends().size(), 3U);
    EXPECT_EQ(ends()[2].generation, stopped);
    EXPECT_NEAR(double(ends()[2].atMs - 700), 100.0, 10.0);

    // Closed after lingering, the next text gets a stream of its own, counted from its start.
    feeder.setState(false, false);
    runFor(StreamFeeder::kLingerUSecs / 1000 + 100);
    ASSERT_FALSE(feeder.hasStream());
    const qint64 start = nowMs;
    speak(150);
    runFor(300);
    ASSERT_EQ(ends().size(), 4U);
    EXPECT_NEAR(double(ends()[3].atMs - start), 150.0, 10.0);
    EXPECT_EQ(device.opens, 3);
}

// A handler that stops the speech when told of a word: the rest of that text is not reported and
// its sound is dropped; the next text plays.
TEST_F(StreamFeederTest, AStopInsideAReportEndsThatText) {
    onReport = [this] {
        onReport = nullptr;
        queue.clear();
        feeder.setState(false, false);
        feeder.drop(queue.generation());
    };
    speak(300);
    runFor(100);
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_FALSE(reports.front().endOfText);
    runFor(500);
    EXPECT_EQ(reports.size(), 1U) << "the stopped text's end was reported";
    EXPECT_GT(device.lostAudio, 0);
    speak(100);
    runFor(200);
    ASSERT_EQ(ends().size(), 1U);
    EXPECT_EQ(ends().front().generation, queue.generation());
}

// The sound server goes away in the middle of a text: the text still ends, on the clock, and so
// does the next while no stream can be opened; once the server is back, the next text is heard.
TEST_F(StreamFeederTest, WhenTheServerGoesAwayTextsStillEnd) {
    speak(500);
    runFor(200);
    device.serverGoesAway();
    device.refuses = true;
    runFor(400);
    ASSERT_EQ(ends().size(), 1U);
    EXPECT_NEAR(double(ends().front().atMs), 500.0, 20.0) << "ended off the clock's time";
    EXPECT_TRUE(feeder.playsOnClock());

    speak(200);
    runFor(300);
    ASSERT_EQ(ends().size(), 2U);
    EXPECT_NEAR(double(ends()[1].atMs - 600), 200.0, 20.0);
    feeder.setState(false, false);
    runFor(50);
    EXPECT_FALSE(feeder.needsTicks());

    device.refuses = false;
    const qint64 heardBefore = heardSound();
    speak(100);
    runFor(200);
    ASSERT_EQ(ends().size(), 3U);
    EXPECT_TRUE(feeder.hasStream());
    EXPECT_EQ(heardSound() - heardBefore, 100 * kMs);
}

// Pausing holds the stream's sound until it continues; nothing is reported meanwhile.
TEST_F(StreamFeederTest, PauseHoldsTheSoundAndTheEnd) {
    speak(300);
    runFor(100);
    feeder.setState(true, true);
    runFor(1000);
    EXPECT_TRUE(ends().empty());
    const qint64 heardWhilePaused = heardSound();
    feeder.setState(true, false);
    runFor(400);
    ASSERT_EQ(ends().size(), 1U);
    EXPECT_GT(heardWhilePaused, 0);
    EXPECT_LT(heardWhilePaused, 200 * kMs);
    EXPECT_EQ(heardSound(), 300 * kMs);
    EXPECT_EQ(device.lostAudio, 0);
}

} // namespace
} // namespace quorvella
