#pragma once
// Plays an engine's audio on the default sound device through Qt Multimedia. Choosing another
// output when there is no device is left to the engine factory.

#include "speech/audio_output.h"

#include <QTimer>
#include <deque>
#include <memory>

class QAudioSink;

namespace quorvella {

class PcmDevice;

class DeviceAudioOutput final : public AudioOutput {
    Q_OBJECT

public:
    // nullptr when the machine has no audio output or the default one cannot be opened.
    static std::unique_ptr<DeviceAudioOutput> open();
    ~DeviceAudioOutput() override;

protected:
    void playingChanged() override;
    void dropHeldAudio() override;

private:
    DeviceAudioOutput();
    bool start();
    void checkPlayed();

    std::unique_ptr<QAudioSink> m_sink;
    std::unique_ptr<PcmDevice> m_device;
    QTimer m_poll;
};

} // namespace quorvella
