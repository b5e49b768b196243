#pragma once
// A stream on the default sound device, as the device output drives it: opened, written,
// suspended, resumed and stopped. It is made by the audio module, a library beside the
// executable that is loaded when audio first plays, so that the sound system's libraries cost
// nothing to a run that never speaks. What is written is left to the device output.

#include <QtGlobal>
#include <functional>

class QIODevice;

namespace quorvella {

class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // The buffer the next stream asks the sound server for, in bytes.
    virtual void setBufferSize(qsizetype bytes) = 0;
    // Opens a stream; what is written to it is played. nullptr when it cannot be opened.
    virtual QIODevice* start() = 0;
    virtual void stop() = 0;
    virtual void suspend() = 0;
    virtual void resume() = 0;
    virtual bool isStopped() const = 0;
    virtual bool isSuspended() const = 0;
    // Microseconds of audio played since the stream was opened.
    virtual qint64 processedUSecs() const = 0;
    virtual qsizetype bytesFree() const = 0;
    // Called when the stream stops on its own (the sound server went away); the stream is gone.
    virtual void setStoppedHandler(std::function<void()> handler) = 0;
};

// The audio module's one function: a device for 16-bit stereo frames at sampleRate on the
// default output, nullptr when the machine has none that takes them.
using OpenAudioDevice = AudioDevice* (*)(int sampleRate);
inline constexpr char kAudioModuleFile[] = "libquorvella_audio.so";
inline constexpr char kOpenAudioDeviceFunction[] = "quorvellaOpenAudioDevice";

} // namespace quorvella
