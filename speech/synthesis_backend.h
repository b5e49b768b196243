#pragma once
// A speech synthesiser behind the engine's voice list: its voices, and text to mono samples
// streamed to a sink. Called on the synthesis thread only; queues and outputs are left to others.

#include "speech/word_span.h"

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>

namespace quorvella {

struct VoiceSettings {
    int speed = 170; // words per minute; 170 is the voice's own pace
    int pitch = 169; // the voice's own mean pitch at 169; others scale it by pitch / 169
};

// Receives samples as they are made; returning false stops the synthesis at once.
using SampleSink = std::function<bool(const std::int16_t* samples, std::size_t count, int rate)>;

// Told of each word just before the sink is given the word's first sample, in text order.
using WordSink = std::function<void(WordSpan word)>;

// A synthesiser could not speak a text as it was asked (a voice that cannot be selected, a call
// that fails); the text says what failed and names the voice.
class SynthesisError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SynthesisBackend {
public:
    virtual ~SynthesisBackend() = default;

    // Each voice's name says the synthesiser, the voice, its accent and whether it is a man's or
    // a woman's: "flite rms, American English, male".
    virtual QStringList voiceNames() const = 0;

    // Makes the voice ready to speak, if it is not yet; false when it cannot speak.
    virtual bool prepare(int /*voice*/) { return true; }

    // Speaks text with the backend's voice number voice (from 0) into sink, telling words where
    // each word starts. Returns false when the sink stopped it. Throws SynthesisError when the
    // synthesiser fails, and passes on what the sinks throw, once the synthesiser has stopped.
    virtual bool synthesize(int voice, const QString& text, const VoiceSettings& settings,
                            const SampleSink& sink, const WordSink& words) = 0;
};

} // namespace quorvella
