#pragma once
// Plays an engine's audio on the default sound device, through the audio module (Qt Multimedia),
// which is loaded when the first output is opened. Choosing another output when there is no
// device is left to the engine factory.

#include "speech/audio_device.h"
#include "speech/audio_output.h"

#include <QTimer>
#include <deque>
#include <memory>
#include <vector>

class QIODevice;

namespace quorvella {

class DeviceAudioOutput final : public AudioOutput {
    Q_OBJECT

public:
    // nullptr when the machine has no audio output, the default one cannot be opened or the
    // audio module beside the executable cannot be loaded.
    static std::unique_ptr<DeviceAudioOutput> open();
    ~DeviceAudioOutput() override;

protected:
    void playingChanged() override;
    void dropHeldAudio() override;

private:
    explicit DeviceAudioOutput(std::unique_ptr<AudioDevice> device);
    bool openStream();
    void closeStream();
    void feed();
    bool reportPlayed();
    void writeAhead();

    std::unique_ptr<AudioDevice> m_sink;
    QIODevice* m_stream = nullptr;    // the sink's stream while one is open; the sink owns it
    std::uint64_t m_streamNumber = 0; // counts the streams opened
    qint64 m_written = 0;             // frames written to the open stream
    bool m_primed = false;            // whether it has had audio
    std::deque<PcmEvent> m_events;    // ends of text and words written, at frames of the stream
    std::vector<std::int16_t> m_buffer;
    QTimer m_feed;
    QTimer m_linger;
};

} // namespace quorvella
