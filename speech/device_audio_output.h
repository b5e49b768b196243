#pragma once
// Plays an engine's audio on the default sound device, through the audio module (Qt Multimedia),
// which is loaded when the first output is opened. The device is fed on a thread of the output's
// own, so that a busy GUI thread is no gap in what is heard; what has been played is reported on
// the GUI thread. Choosing another output when there is no device is left to the engine factory.

#include "speech/audio_device.h"
#include "speech/audio_output.h"

#include <QThread>
#include <memory>

namespace quorvella {

class DeviceAudioOutput final : public AudioOutput {
    Q_OBJECT

public:
    // nullptr when the machine has no audio output, the default one cannot be opened or the
    // audio module beside the executable cannot be loaded (which is said once on stderr).
    static std::unique_ptr<DeviceAudioOutput> open();
    ~DeviceAudioOutput() override;

protected:
    void playingChanged() override;
    void dropHeldAudio() override;

private:
    class Pump;

    explicit DeviceAudioOutput(std::unique_ptr<AudioDevice> device);
    void played(const PcmEvent& event, std::uint64_t generation);

    QThread m_thread;
    Pump* m_pump; // lives on m_thread
};

} // namespace quorvella
