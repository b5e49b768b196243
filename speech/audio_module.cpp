// The audio module: the default sound device through Qt Multimedia, behind AudioDevice. Loaded by
// the device output when audio first plays.

#include "speech/audio_device.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <memory>

namespace {

using quorvella::AudioDevice;

// The sinks are made when the first stream is opened, on the thread that drives the device, so
// that their timers and signals live there and not on the GUI thread. There are two, so that a
// new stream can be opened before the old one is closed.
class QtAudioDevice final : public AudioDevice {
public:
    QtAudioDevice(QAudioDevice device, QAudioFormat format)
        : m_device(std::move(device)), m_format(std::move(format)) {}

    bool open(qsizetype bufferBytes) override {
        close();
        return start(bufferBytes);
    }
    bool reopen(qsizetype bufferBytes) override {
        QAudioSink* old = isOpen() ? sink() : nullptr;
        m_current = 1 - m_current;
        const bool opened = start(bufferBytes);
        if (old != nullptr) {
            old->stop();
        }
        return opened;
    }
    void close() override {
        m_stream = nullptr;
        if (m_sinks[m_current]) {
            sink()->stop();
        }
    }
    bool isOpen() const override {
        return m_stream != nullptr && m_sinks[m_current]->state() != QAudio::StoppedState;
    }
    void suspend() override {
        if (isOpen()) {
            sink()->suspend();
        }
    }
    void resume() override {
        if (isOpen()) {
            sink()->resume();
        }
    }
    qsizetype bufferSize() const override {
        return isOpen() ? m_sinks[m_current]->bufferSize() : 0;
    }
    qsizetype bytesFree() const override { return isOpen() ? m_sinks[m_current]->bytesFree() : 0; }
    qint64 write(const char* data, qint64 bytes) override {
        return isOpen() ? m_stream->write(data, bytes) : 0;
    }
    qint64 processedUSecs() const override {
        return isOpen() ? m_sinks[m_current]->processedUSecs() : 0;
    }

private:
    QAudioSink* sink() { return m_sinks[m_current].get(); }

    bool start(qsizetype bufferBytes) {
        if (!m_sinks[m_current]) {
            m_sinks[m_current] = std::make_unique<QAudioSink>(m_device, m_format);
        }
        // The sink keeps the buffer size the server granted its last stream as the request for
        // the next one, and the server grants less than it is asked: without asking afresh, each
        // new stream would get a smaller buffer than the one before.
        sink()->setBufferSize(bufferBytes);
        m_stream = sink()->start();
        if (m_stream == nullptr || sink()->state() == QAudio::StoppedState) {
            close();
            return false;
        }
        return true;
    }

    QAudioDevice m_device;
    QAudioFormat m_format;
    std::unique_ptr<QAudioSink> m_sinks[2];
    int m_current = 0;
    QIODevice* m_stream = nullptr; // the open stream; its sink owns it and deletes it on stop
};

} // namespace

extern "C" Q_DECL_EXPORT AudioDevice* quorvellaOpenAudioDevice(int sampleRate) {
    if (QMediaDevices::audioOutputs().isEmpty()) {
        return nullptr;
    }
    QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    if (device.isNull() || !device.isFormatSupported(format)) {
        return nullptr;
    }
    return new QtAudioDevice(std::move(device), std::move(format));
}
