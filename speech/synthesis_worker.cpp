#include "speech/synthesis_worker.h"

#include "speech/espeak_backend.h"
#include "speech/flite_backend.h"
#include "speech/speech_text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <new>
#include <optional>
#include <string>

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

// One line on stderr: what could not be done on the synthesis thread, and why. The thread goes
// on; nothing thrown there may end the process.
void report(const char* what, const std::exception_ptr& failure) {
    std::string why;
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        why = "not enough memory";
    } catch (const std::exception& e) {
        why = e.what();
    } catch (...) {
        why = "an unknown error";
    }
    std::fprintf(stderr, "quorvella: %s: %s\n", what, why.c_str());
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

// The next channel in turn that has a text to say and room for more audio, its text being cut
// set; nullptr when none. Called with the mutex held. A text being cut for a channel that was
// stopped is dropped; channels with nothing to say and no engine are let go.
std::shared_ptr<SpeechChannel> SynthesisWorker::nextChannel() {
    for (const std::shared_ptr<SpeechChannel>& channel : m_channels) {
        if (channel->m_cutting && channel->m_cutting->generation != channel->queue.generation()) {
            channel->m_cutting.reset();
        }
    }
    std::erase_if(m_channels, [](const std::shared_ptr<SpeechChannel>& channel) {
        return channel.use_count() == 1 && !channel->hasText();
    });
    for (std::size_t tried = 0; tried < m_channels.size(); ++tried) {
        m_turn = (m_turn + 1) % m_channels.size();
        SpeechChannel& channel = *m_channels[m_turn];
        if (channel.hasText() && channel.queue.bufferedSeconds() < kBufferAheadSeconds) {
            if (!channel.m_cutting) {
                channel.m_cutting = std::move(channel.m_pending.front());
                channel.m_pending.pop_front();
            }
            return m_channels[m_turn];
        }
    }
    return nullptr;
}

// The next sentence of the channel's text being cut; a text with no words gives one empty
// sentence. On the worker's thread, without the mutex. A text that cannot be cut (memory runs
// out) ends where it is.
SpeechChannel::Sentence SynthesisWorker::takeSentence(SpeechChannel& channel) {
    SpeechChannel::PendingText& text = *channel.m_cutting;
    SpeechChannel::Sentence sentence{{}, 0, text.job, text.generation, !text.started, true};
    text.started = true;
    try {
        if (!text.prepared) {
            // speakableText keeps every position, so a sentence's offset is its offset in the
            // text.
            const VoiceInfo& voice = m_voices.at(std::size_t(text.job.voice));
            text.speakable = speakableText(text.job.text, voice.asciiOnly);
            text.next = nextSentencePiece(text.speakable, text.from);
            text.prepared = true;
        }
        if (text.next) {
            sentence.text = text.next->text;
            sentence.offset = text.next->offset;
            text.next = nextSentencePiece(text.speakable, text.from);
        }
        sentence.last = !text.next;
    } catch (...) {
        report("a text could not be cut into sentences; the rest of it is skipped",
               std::current_exception());
        sentence.text.clear();
        sentence.last = true;
    }
    if (sentence.last) {
        channel.m_cutting.reset();
    }
    return sentence;
}

// Makes the sentence's audio into the channel's queue, and the end of its text after its last.
// On the worker's thread, without the mutex.
void SynthesisWorker::speakSentence(SpeechChannel& channel,
                                    const SpeechChannel::Sentence& sentence) {
    PcmQueue& queue = channel.queue;
    if (queue.generation() != sentence.generation) {
        return; // stopped while it was cut
    }
    SilenceTrimmer& trimmer = channel.m_trimmer;
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
        return queue.push({std::move(samples), rate, sentence.job.gainLeft, sentence.job.gainRight,
                           false, std::move(marks)},
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
        try {
            complete = voice.backend->synthesize(voice.index, sentence.text, sentence.job.settings,
                                                 sink, words);
        } catch (...) {
            // What the sentence made before it failed stays queued; its text goes on.
            report("a sentence could not be spoken and is skipped", std::current_exception());
        }
    }
    if (complete && sentence.last) {
        // The end of the text is queued even when its last audio cannot be: without it the
        // engine would never hear that the text has ended.
        try {
            const int rate = trimmer.rate();
            push(trimmer.finish(), rate);
        } catch (...) {
            report("the last of a text's audio could not be queued and is skipped",
                   std::current_exception());
        }
        try {
            queue.push(PcmChunk{{}, 16000, 1.0F, 1.0F, true, {}}, sentence.generation);
        } catch (...) {
            report("the end of a text could not be queued", std::current_exception());
        }
    }
}

// Loads the synthesisers and lists their voices; when that fails, there are none.
void SynthesisWorker::load() {
    std::vector<std::unique_ptr<SynthesisBackend>> backends;
    std::vector<VoiceInfo> voices;
    try {
        backends = m_loader();
        for (const auto& backend : backends) {
            const bool asciiOnly = dynamic_cast<FliteBackend*>(backend.get()) != nullptr;
            const QStringList names = backend->voiceNames();
            for (int i = 0; i < names.size(); ++i) {
                voices.push_back({names.at(i), backend.get(), i, asciiOnly});
            }
        }
    } catch (...) {
        report("the speech synthesisers could not be loaded", std::current_exception());
        voices.clear();
        backends.clear();
    }
    {
        std::lock_guard lock(m_mutex);
        m_backends = std::move(backends);
        m_voices = std::move(voices);
        m_loaded = true;
    }
    m_wake.notify_all();
}

void SynthesisWorker::run() {
    load();
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        const std::shared_ptr<SpeechChannel> channel = nextChannel();
        if (!channel) {
            const bool waiting = std::any_of(m_channels.begin(), m_channels.end(),
                                             [](const auto& c) { return c->hasText(); });
            if (waiting) { // some output has to play its audio first
                m_wake.wait_for(lock, std::chrono::milliseconds(20));
            } else {
                m_wake.wait(lock);
            }
            continue;
        }
        lock.unlock();
        speakSentence(*channel, takeSentence(*channel));
        lock.lock();
    }
    m_channels.clear();
    m_backends.clear(); // the synthesisers are shut down on the thread that used them
}

} // namespace quorvella
