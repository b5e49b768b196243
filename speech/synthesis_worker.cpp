#include "speech/synthesis_worker.h"

#include "speech/espeak_backend.h"
#include "speech/flite_backend.h"
#include "speech/speech_text.h"

#include <algorithm>
#include <chrono>
#include <optional>

namespace quorvella {

namespace {

// A word as the synthesiser found it, narrowed to its letters and digits in the text that was
// given: a synthesiser may count punctuation next to a word in the word ("!We"), or as a word of
// its own, which is no word to follow.
std::optional<WordSpan> lettersOf(const QString& text, WordSpan word) {
    qsizetype first = std::clamp<qsizetype>(word.offset, 0, text.size());
    qsizetype end = std::clamp<qsizetype>(word.offset + word.length, first, text.size());
    while (first < end && !text.at(first).isLetterOrNumber()) {
        ++first;
    }
    while (end > first && !text.at(end - 1).isLetterOrNumber() && !text.at(end - 1).isMark()) {
        --end;
    }
    if (first == end) {
        return std::nullopt;
    }
    return WordSpan{first, end - first};
}

} // namespace

SynthesisWorker& SynthesisWorker::instance() {
    static SynthesisWorker worker([] {
        std::vector<std::unique_ptr<SynthesisBackend>> backends;
        if (auto flite = FliteBackend::load()) {
            backends.push_back(std::move(flite));
        }
        if (auto espeak = EspeakBackend::load()) {
            backends.push_back(std::move(espeak));
        }
        return backends;
    });
    return worker;
}

SynthesisWorker::SynthesisWorker(BackendLoader loader)
    : m_loader(std::move(loader)), m_thread([this] { run(); }) {}

SynthesisWorker::~SynthesisWorker() {
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

const std::vector<VoiceInfo>& SynthesisWorker::voices() {
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_loaded; });
    return m_voices;
}

void SynthesisWorker::speak(const std::shared_ptr<SpeechChannel>& channel, const SpeechJob& job) {
    voices().at(std::size_t(job.voice)); // a voice that does not exist fails here, not later
    {
        std::lock_guard lock(m_mutex);
        SpeechChannel::PendingText& text = channel->m_pending.emplace_back();
        text.job = job;
        text.generation = channel->queue.generation();
        if (std::find(m_channels.begin(), m_channels.end(), channel) == m_channels.end()) {
            m_channels.push_back(channel);
        }
    }
    m_wake.notify_all();
}

void SynthesisWorker::stop(SpeechChannel& channel) {
    std::lock_guard lock(m_mutex);
    channel.m_pending.clear();
    channel.queue.clear();
}

// The next channel in turn that has sentences waiting and room for more audio; nullptr when
// none. Called with the mutex held. Channels with nothing waiting and no engine are let go.
std::shared_ptr<SpeechChannel> SynthesisWorker::nextChannel() {
    std::erase_if(m_channels, [](const std::shared_ptr<SpeechChannel>& channel) {
        return channel.use_count() == 1 && channel->m_pending.empty();
    });
    for (std::size_t tried = 0; tried < m_channels.size(); ++tried) {
        m_turn = (m_turn + 1) % m_channels.size();
        const std::shared_ptr<SpeechChannel>& channel = m_channels[m_turn];
        if (!channel->m_pending.empty() && channel->queue.bufferedSeconds() < kBufferAheadSeconds) {
            return channel;
        }
    }
    return nullptr;
}

// The channel's next sentence, taken from its first text; a text with no words gives one empty
// sentence. Called with the mutex held.
SpeechChannel::Sentence SynthesisWorker::takeSentence(SpeechChannel& channel) {
    SpeechChannel::PendingText& text = channel.m_pending.front();
    if (!text.prepared) {
        // speakableText keeps every position, so a sentence's offset is its offset in the text.
        const VoiceInfo& voice = m_voices.at(std::size_t(text.job.voice));
        text.speakable = speakableText(text.job.text, voice.asciiOnly);
        text.next = nextSentencePiece(text.speakable, text.from);
        text.prepared = true;
    }
    SpeechChannel::Sentence sentence{text.next ? text.next->text : QString(),
                                     text.next ? text.next->offset : 0,
                                     text.job,
                                     text.generation,
                                     !text.started,
                                     false};
    text.started = true;
    text.next = text.next ? nextSentencePiece(text.speakable, text.from) : std::nullopt;
    sentence.last = !text.next;
    if (sentence.last) {
        channel.m_pending.pop_front();
    }
    return sentence;
}

void SynthesisWorker::run() {
    auto backends = m_loader();
    {
        std::lock_guard lock(m_mutex);
        m_backends = std::move(backends);
        for (const auto& backend : m_backends) {
            const bool asciiOnly = dynamic_cast<FliteBackend*>(backend.get()) != nullptr;
            const QStringList names = backend->voiceNames();
            for (int i = 0; i < names.size(); ++i) {
                m_voices.push_back({names.at(i), backend.get(), i, asciiOnly});
            }
        }
        m_loaded = true;
    }
    m_wake.notify_all();

    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        const std::shared_ptr<SpeechChannel> channel = nextChannel();
        if (!channel) {
            const bool waiting = std::any_of(m_channels.begin(), m_channels.end(),
                                             [](const auto& c) { return !c->m_pending.empty(); });
            if (waiting) { // some output has to play its audio first
                m_wake.wait_for(lock, std::chrono::milliseconds(20));
            } else {
                m_wake.wait(lock);
            }
            continue;
        }
        const SpeechChannel::Sentence sentence = takeSentence(*channel);
        lock.unlock();

        PcmQueue& queue = channel->queue;
        SilenceTrimmer& trimmer = channel->m_trimmer;
        if (sentence.first) {
            trimmer.reset();
        }
        const VoiceInfo& voice = m_voices.at(std::size_t(sentence.job.voice));
        // The trimmer's samples go on with the word marks they carry.
        const auto push = [&](std::vector<std::int16_t> samples, int rate) {
            std::vector<WordMark> marks = trimmer.takeMarks();
            if (samples.empty() && marks.empty()) {
                return queue.generation() == sentence.generation;
            }
            return queue.push({std::move(samples), rate, sentence.job.gainLeft,
                               sentence.job.gainRight, false, std::move(marks)},
                              sentence.generation);
        };
        const SampleSink sink = [&](const std::int16_t* samples, std::size_t count, int rate) {
            return !m_quit && push(trimmer.take(samples, count, rate), rate);
        };
        const WordSink words = [&](WordSpan word) {
            if (const auto letters =
                    lettersOf(sentence.job.text, {sentence.offset + word.offset, word.length})) {
                trimmer.mark(*letters);
            }
        };
        bool complete = true;
        if (!sentence.text.isEmpty()) {
            complete = voice.backend->synthesize(voice.index, sentence.text, sentence.job.settings,
                                                 sink, words);
        }
        if (complete && sentence.last) {
            const int rate = trimmer.rate();
            push(trimmer.finish(), rate);
            queue.push(PcmChunk{{}, 16000, 1.0F, 1.0F, true, {}}, sentence.generation);
        }
        lock.lock();
    }
    m_channels.clear();
    m_backends.clear(); // the synthesisers are shut down on the thread that used them
}

} // namespace quorvella
