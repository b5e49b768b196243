#pragma once
// The one thread that makes every synthesis call of the process, for all engines: it loads the
// synthesisers, lists their voices and turns queued sentences into audio. Playing it is left to
// each engine's output.

#include "speech/pcm_queue.h"
#include "speech/silence_trimmer.h"
#include "speech/speech_text.h"
#include "speech/synthesis_backend.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace quorvella {

struct VoiceInfo {
    QString name;
    SynthesisBackend* backend = nullptr;
    int index = 0;          // the voice's number within its backend
    bool asciiOnly = false; // the synthesiser reads ASCII text only
};

// What an engine asks for: a text and the settings it is to be spoken with.
struct SpeechJob {
    QString text;
    int voice = 0; // index into voices()
    VoiceSettings settings;
    float gainLeft = 1.0F;
    float gainRight = 1.0F;
};

// One engine's side of the worker: the audio made for it, and its sentences still to be made.
class SpeechChannel {
public:
    PcmQueue queue;

private:
    friend class SynthesisWorker;
    struct Sentence {
        QString text;
        qsizetype offset = 0; // where the sentence starts in the job's text
        SpeechJob job;
        std::uint64_t generation = 0;
        bool first = false; // the text starts with this sentence
        bool last = false;  // the text ends after this sentence
    };
    // A text waiting to be spoken, cut into sentences one at a time as the worker comes to them,
    // so that a long text costs its speaker nothing and starts after its first sentence.
    // Cutting is done without the worker's mutex, so that an engine's speak and stop do not wait
    // for it: the worker first moves the text out of the waiting ones into m_cutting.
    struct PendingText {
        SpeechJob job;
        std::uint64_t generation = 0;
        bool prepared = false;         // the fields below are set
        QString speakable;             // the job's text as its voice reads it
        qsizetype from = 0;            // where the sentence after `next` is looked for
        std::optional<TextPiece> next; // the sentence to make next; none: the text is said
        bool started = false;
    };
    bool hasText() const { return m_cutting.has_value() || !m_pending.empty(); }

    std::deque<PendingText> m_pending; // guarded by the worker's mutex
    // The text whose sentences are being made, used on the worker's thread only. A stop leaves
    // it to the worker, which drops it when the queue's generation is no longer the text's.
    std::optional<PendingText> m_cutting;
    SilenceTrimmer m_trimmer; // used on the worker's thread only
};

class SynthesisWorker {
public:
    using BackendLoader = std::function<std::vector<std::unique_ptr<SynthesisBackend>>()>;

    // The worker of the process, with flite's and espeak-ng's voices.
    static SynthesisWorker& instance();

    // loader runs on the worker's thread; its backends' voices are listed in their order.
    explicit SynthesisWorker(BackendLoader loader);
    ~SynthesisWorker();
    SynthesisWorker(const SynthesisWorker&) = delete;
    SynthesisWorker& operator=(const SynthesisWorker&) = delete;

    // Waits until the synthesisers are loaded.
    const std::vector<VoiceInfo>& voices();

    // Queues a text after whatever the channel still has to say. A sentence of it that cannot be
    // made (a synthesiser fails, memory runs out) is skipped with a line on stderr; the text goes
    // on, and still ends.
    void speak(const std::shared_ptr<SpeechChannel>& channel, const SpeechJob& job);

    // Drops the channel's sentences not yet made and its queued audio; a sentence being made for
    // it stops at its next chunk.
    void stop(SpeechChannel& channel);

    // Audio queued ahead of the output, per channel, before the worker makes more.
    static constexpr double kBufferAheadSeconds = 3.0;

private:
    void run();
    void load();
    std::shared_ptr<SpeechChannel> nextChannel();
    SpeechChannel::Sentence takeSentence(SpeechChannel& channel);
    void speakSentence(SpeechChannel& channel, const SpeechChannel::Sentence& sentence);

    BackendLoader m_loader;
    std::vector<std::unique_ptr<SynthesisBackend>> m_backends;
    std::vector<VoiceInfo> m_voices;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_loaded = false;
    std::atomic<bool> m_quit{false};
    std::vector<std::shared_ptr<SpeechChannel>> m_channels;
    std::size_t m_turn = 0;
    std::thread m_thread;
};

} // namespace quorvella
