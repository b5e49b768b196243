#include "speech/device_audio_output.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <cstring>

namespace quorvella {

// The sink pulls from here. While speech is in flight it never runs dry: missing audio is
// written as silence, so the sink never falls into an underrun and its clock keeps counting.
class PcmDevice final : public QIODevice {
public:
    PcmQueue* queue = nullptr;
    qint64 written = 0;        // frames handed to the sink since it started
    std::deque<qint64> endsAt; // frame positions of the ends of text handed over

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 1 << 16; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 frames = maxSize / 4;
        auto* out = reinterpret_cast<std::int16_t*>(data);
        std::vector<qint64> ends;
        const qint64 rendered = queue != nullptr ? queue->render(out, frames, 48000, ends) : 0;
        std::memset(out + rendered * 2, 0, std::size_t(frames - rendered) * 4);
        for (const qint64 end : ends) {
            endsAt.push_back(written + end);
        }
        written += frames;
        return frames * 4;
    }
    qint64 writeData(const char*, qint64) override { return -1; }
};

DeviceAudioOutput::DeviceAudioOutput() : m_device(std::make_unique<PcmDevice>()) {
    m_poll.setInterval(20);
    connect(&m_poll, &QTimer::timeout, this, &DeviceAudioOutput::checkPlayed);
}

DeviceAudioOutput::~DeviceAudioOutput() {
    if (m_sink) {
        m_sink->stop();
    }
}

std::unique_ptr<DeviceAudioOutput> DeviceAudioOutput::open() {
    if (QMediaDevices::audioOutputs().isEmpty()) {
        return nullptr;
    }
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(kSampleRate);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    if (device.isNull() || !device.isFormatSupported(format)) {
        return nullptr;
    }
    std::unique_ptr<DeviceAudioOutput> output(new DeviceAudioOutput);
    output->m_sink = std::make_unique<QAudioSink>(device, format);
    output->m_sink->setBufferSize(kSampleRate * 4 / 10); // 100 ms
    if (!output->start()) {
        return nullptr;
    }
    output->playingChanged();
    return output;
}

bool DeviceAudioOutput::start() {
    m_device->queue = m_queue;
    m_device->written = 0;
    m_device->endsAt.clear();
    if (!m_device->isOpen()) {
        m_device->open(QIODevice::ReadOnly);
    }
    m_sink->start(m_device.get());
    return m_sink->error() != QAudio::OpenError;
}

void DeviceAudioOutput::playingChanged() {
    m_device->queue = m_queue;
    if (isPlaying()) {
        m_sink->resume();
        m_poll.start();
    } else {
        m_sink->suspend();
        m_poll.stop();
    }
}

void DeviceAudioOutput::dropHeldAudio() {
    m_sink->reset(); // what the device still holds is dropped
    start();
}

void DeviceAudioOutput::checkPlayed() {
    const qint64 played = m_sink->processedUSecs() * kSampleRate / 1000000;
    while (!m_device->endsAt.empty() && m_device->endsAt.front() <= played) {
        m_device->endsAt.pop_front();
        emit textPlayed();
    }
}

} // namespace quorvella
