// The audio module: the default sound device through Qt Multimedia, behind AudioDevice. Loaded by
// the device output when audio first plays.

#include "speech/audio_device.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

namespace {

using quorvella::AudioDevice;

class QtAudioDevice final : public AudioDevice {
public:
    QtAudioDevice(const QAudioDevice& device, const QAudioFormat& format) : m_sink(device, format) {
        QObject::connect(&m_sink, &QAudioSink::stateChanged, &m_sink, [this](QAudio::State state) {
            if (state == QAudio::StoppedState && m_stopped) {
                m_stopped();
            }
        });
    }

    void setBufferSize(qsizetype bytes) override { m_sink.setBufferSize(bytes); }
    QIODevice* start() override { return m_sink.start(); }
    void stop() override { m_sink.stop(); }
    void suspend() override { m_sink.suspend(); }
    void resume() override { m_sink.resume(); }
    bool isStopped() const override { return m_sink.state() == QAudio::StoppedState; }
    bool isSuspended() const override { return m_sink.state() == QAudio::SuspendedState; }
    qint64 processedUSecs() const override { return m_sink.processedUSecs(); }
    qsizetype bytesFree() const override { return m_sink.bytesFree(); }
    void setStoppedHandler(std::function<void()> handler) override {
        m_stopped = std::move(handler);
    }

private:
    QAudioSink m_sink;
    std::function<void()> m_stopped;
};

} // namespace

extern "C" Q_DECL_EXPORT AudioDevice* quorvellaOpenAudioDevice(int sampleRate) {
    if (QMediaDevices::audioOutputs().isEmpty()) {
        return nullptr;
    }
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    if (device.isNull() || !device.isFormatSupported(format)) {
        return nullptr;
    }
    return new QtAudioDevice(device, format);
}
