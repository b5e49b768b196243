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

// Two sinks: the stream being played, and a spare stream opened ahead and kept corked. The spare
// keeps a stream of ours on the server at all times, so that the server keeps its latency low
// for us: a server left without one may render far ahead for a high-latency client, and then
// plays a new stream only a second or more late. The spare is also what a stop switches to at
// once. The sinks are made on the thread that drives the device, so that their timers and
// signals live there and not on the GUI thread.
class QtAudioDevice final : public AudioDevice {
public:
    QtAudioDevice(QAudioDevice device, QAudioFormat format)
        : m_device(std::move(device)), m_format(std::move(format)) {}

    bool open(qsizetype bufferBytes) override {
        m_bufferBytes = bufferBytes;
        close();
        if (takeSpare()) {
            return true;
        }
        m_spareTried = false;
        return start(m_current);
    }
    // The old stream is stopped first when a spare keeps the server company, so that what it
    // holds falls silent as soon as the server hears of it.
    bool reopen(qsizetype bufferBytes) override {
        m_bufferBytes = bufferBytes;
        if (!isOpen()) {
            return open(bufferBytes);
        }
        if (hasSpare()) {
            sink(m_current)->stop();
            m_stream = nullptr;
            return takeSpare();
        }
        const int old = m_current;
        m_current = 1 - m_current;
        m_spareTried = false;
        const bool opened = start(m_current);
        sink(old)->stop();
        return opened;
    }
    void close() override {
        if (m_stream == nullptr) {
            return;
        }
        makeSpare(); // before the stream goes, so that the server is never without one of ours
        m_stream = nullptr;
        sink(m_current)->stop();
    }
    bool isOpen() const override {
        return m_stream != nullptr && m_sinks[m_current]->state() != QAudio::StoppedState;
    }
    void suspend() override {
        if (isOpen()) {
            sink(m_current)->suspend();
        }
    }
    void resume() override {
        if (isOpen()) {
            sink(m_current)->resume();
        }
    }
    qsizetype bufferSize() const override {
        return isOpen() ? m_sinks[m_current]->bufferSize() : 0;
    }
    qsizetype bytesFree() const override { return isOpen() ? m_sinks[m_current]->bytesFree() : 0; }
    // A spare used by a stop or a new text is replaced after the first write to the stream that
    // took its place, while that write plays, so that its first sound is not held up by it.
    qint64 write(const char* data, qint64 bytes) override {
        const qint64 written = isOpen() ? m_stream->write(data, bytes) : 0;
        makeSpare();
        return written;
    }
    qint64 processedUSecs() const override {
        return isOpen() ? m_sinks[m_current]->processedUSecs() : 0;
    }

private:
    int spareIndex() const { return 1 - m_current; }
    QAudioSink* sink(int index) {
        if (!m_sinks[index]) {
            m_sinks[index] = std::make_unique<QAudioSink>(m_device, m_format);
        }
        return m_sinks[index].get();
    }
    bool hasSpare() const {
        return m_spare != nullptr && m_sinks[spareIndex()]->state() == QAudio::SuspendedState;
    }

    // Opens a stream on the sink at index; false, and the sink stopped, when none opens.
    bool start(int index) {
        // The sink keeps the buffer size the server granted its last stream as the request for
        // the next one, and the server grants less than it is asked: without asking afresh, each
        // new stream would get a smaller buffer than the one before.
        QAudioSink* chosen = sink(index);
        chosen->setBufferSize(m_bufferBytes);
        QIODevice* stream = chosen->start();
        if (stream == nullptr || chosen->state() == QAudio::StoppedState) {
            chosen->stop();
            return false;
        }
        if (index == m_current) {
            m_stream = stream;
        } else {
            m_spare = stream;
        }
        return true;
    }

    // A spare stream, opened and corked, unless there is one; tried once for each stream
    // played, so that a server that refuses a second stream costs no more than one try.
    void makeSpare() {
        if (m_stream == nullptr || m_spareTried || hasSpare()) {
            return;
        }
        m_spareTried = true;
        if (start(spareIndex())) {
            sink(spareIndex())->suspend();
        } else {
            m_spare = nullptr;
        }
    }

    // The spare becomes the stream played, resumed and not yet written to.
    bool takeSpare() {
        if (!hasSpare()) {
            m_spare = nullptr;
            return false;
        }
        m_current = spareIndex();
        m_stream = m_spare;
        m_spare = nullptr;
        m_spareTried = false;
        sink(m_current)->resume();
        return isOpen();
    }

    QAudioDevice m_device;
    QAudioFormat m_format;
    std::unique_ptr<QAudioSink> m_sinks[2];
    int m_current = 0;
    qsizetype m_bufferBytes = 0;
    QIODevice* m_stream = nullptr; // the open stream; its sink owns it and deletes it on stop
    QIODevice* m_spare = nullptr;  // the spare's stream, of the other sink
    bool m_spareTried = false;
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
