#pragma once
// A stream on the default sound device, as the stream feeder drives it: opened, written,
// suspended, resumed and closed, with the time the server has played of it. It is made by the
// audio module, a library beside the executable that is loaded when audio first plays, so that
// the sound system's libraries cost nothing to a run that never speaks. What is written, and
// when, is left to the feeder.

#include <QtGlobal>

namespace quorvella {

class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // Opens a stream that asks the server to hold about bufferBytes ahead of what it plays;
    // false when none can be opened. Every call below is made on one thread, the one that opens.
    virtual bool open(qsizetype bufferBytes) = 0;
    // Closes the stream: what the server still holds of it is dropped. A device may keep a
    // spare stream on the server, silent, so that the server is never left without a stream of
    // ours (which some servers answer by playing the next one late).
    virtual void close() = 0;
    // Replaces the open stream by a new one at once: what the old one held is dropped. False,
    // and no stream, when none can be opened.
    virtual bool reopen(qsizetype bufferBytes) = 0;
    // False once the stream is closed, or stopped on its own (the sound server went away).
    virtual bool isOpen() const = 0;
    // A suspended stream keeps what it holds and plays nothing until it is resumed.
    virtual void suspend() = 0;
    virtual void resume() = 0;
    // What the server granted of the buffer asked for, in bytes.
    virtual qsizetype bufferSize() const = 0;
    // What the stream takes now, in bytes, and writing it; returns the bytes taken.
    virtual qsizetype bytesFree() const = 0;
    virtual qint64 write(const char* data, qint64 bytes) = 0;
    // Microseconds of the stream's audio played since it was opened.
    virtual qint64 processedUSecs() const = 0;
};

// The audio module's one function: a device for 16-bit stereo frames at sampleRate on the
// default output, nullptr when the machine has none that takes them. Called on the GUI thread;
// the device's own calls are made on the thread that opens it.
using OpenAudioDevice = AudioDevice* (*)(int sampleRate);
inline constexpr char kAudioModuleFile[] = "libquorvella_audio.so";
inline constexpr char kOpenAudioDeviceFunction[] = "quorvellaOpenAudioDevice";

} // namespace quorvella
