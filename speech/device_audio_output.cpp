#include "speech/device_audio_output.h"

#include "core/data_folder.h"

#include <QIODevice>
#include <algorithm>
#include <dlfcn.h>

namespace quorvella {

namespace {

constexpr qint64 kBytesPerFrame = 4;
// What each stream asks the server to hold: about 70 ms is granted for it, enough to ride out
// a busy moment of the GUI thread, which writes to the stream.
constexpr qsizetype kStreamBuffer = AudioOutput::kSampleRate * kBytesPerFrame / 10;
// After the last end of text the stream plays silence this long before it is closed: the end
// of the audio is played out whole, and a word chosen soon after needs no new stream.
constexpr int kLingerMs = 1000;

// The audio module's opening function, from the library beside the executable, loaded once; it
// stays loaded for the rest of the run. nullptr when it cannot be loaded.
OpenAudioDevice audioModule() {
    static const OpenAudioDevice open = [] {
        const QByteArray path =
            (applicationFolder() + QLatin1String(kAudioModuleFile)).toLocal8Bit();
        void* module = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
        return module != nullptr
                   ? reinterpret_cast<OpenAudioDevice>(dlsym(module, kOpenAudioDeviceFunction))
                   : nullptr;
    }();
    return open;
}

} // namespace

DeviceAudioOutput::DeviceAudioOutput(std::unique_ptr<AudioDevice> device)
    : m_sink(std::move(device)) {
    m_feed.setInterval(10);
    m_feed.setTimerType(Qt::PreciseTimer);
    connect(&m_feed, &QTimer::timeout, this, &DeviceAudioOutput::feed);
    m_linger.setSingleShot(true);
    m_linger.setInterval(kLingerMs);
    connect(&m_linger, &QTimer::timeout, this, &DeviceAudioOutput::closeStream);
    // The device closes the stream on its own when the sound server goes away, and deletes the
    // stream we write to with it.
    m_sink->setStoppedHandler([this] {
        if (m_stream != nullptr) {
            m_stream = nullptr;
            closeStream();
        }
    });
}

DeviceAudioOutput::~DeviceAudioOutput() {
    closeStream();
}

std::unique_ptr<DeviceAudioOutput> DeviceAudioOutput::open() {
    const OpenAudioDevice openDevice = audioModule();
    std::unique_ptr<AudioDevice> device(openDevice != nullptr ? openDevice(kSampleRate) : nullptr);
    if (!device) {
        return nullptr;
    }
    std::unique_ptr<DeviceAudioOutput> output(new DeviceAudioOutput(std::move(device)));
    if (!output->openStream()) {
        return nullptr;
    }
    output->closeStream();
    return output;
}

// A stream is open only while there is speech to play (and a moment after): stopping closes
// it, which drops at once whatever the server still holds, and the next text gets a new one.
bool DeviceAudioOutput::openStream() {
    // The sink keeps the buffer size the server granted its last stream as the request for the
    // next one, and the server grants less than it is asked: without asking afresh, each new
    // stream would get a smaller buffer than the one before.
    m_sink->setBufferSize(kStreamBuffer);
    QIODevice* stream = m_sink->start();
    if (stream == nullptr || m_sink->isStopped()) {
        m_sink->stop();
        return false;
    }
    m_stream = stream;
    ++m_streamNumber;
    m_written = 0;
    m_primed = false;
    m_events.clear();
    return true;
}

void DeviceAudioOutput::closeStream() {
    m_feed.stop();
    m_linger.stop();
    m_events.clear();
    if (m_stream != nullptr) {
        m_stream = nullptr;
        m_sink->stop();
    }
}

void DeviceAudioOutput::playingChanged() {
    if (isPlaying()) {
        m_linger.stop();
        if (m_stream == nullptr && !openStream()) {
            return;
        }
        if (m_sink->isSuspended()) {
            m_sink->resume();
        }
        writeAhead();
        m_feed.start();
    } else if (m_stream == nullptr) {
        m_feed.stop();
    } else if (isPaused()) {
        m_feed.stop();
        m_linger.stop();
        m_sink->suspend();
    } else if (!m_linger.isActive()) {
        // Nothing in flight: silence is played until the stream is closed.
        if (m_sink->isSuspended()) {
            m_sink->resume();
        }
        m_feed.start();
        m_linger.start();
    }
}

void DeviceAudioOutput::dropHeldAudio() {
    closeStream();
}

void DeviceAudioOutput::feed() {
    if (reportPlayed()) {
        writeAhead();
    }
}

// Reports each end of text once the frames before it have been played, each word once its first
// frame is. Returns false when a handler of the report closed the stream.
bool DeviceAudioOutput::reportPlayed() {
    if (m_stream == nullptr) {
        return false;
    }
    const qint64 played = m_sink->processedUSecs() * kSampleRate / 1000000;
    while (!m_events.empty() && m_events.front().frame <= played) {
        const PcmEvent event = m_events.front();
        m_events.pop_front();
        const std::uint64_t stream = m_streamNumber;
        if (event.endOfText) {
            emit textPlayed();
        } else {
            emit wordPlayed(event.word);
        }
        // A handler may have stopped the speech (and opened a new stream for the next text):
        // the events still listed belonged to the audio that was dropped.
        if (m_stream == nullptr || m_streamNumber != stream) {
            return m_stream != nullptr;
        }
    }
    return true;
}

// Writes what the stream has room for: the audio of the queue while playing, then silence. A
// stream starts to play only once the server holds its pre-buffer, and stops again when it
// runs dry, so once it has had audio it is always written full; before the first audio of a
// new stream nothing is written, so that the first word is not held back behind silence.
void DeviceAudioOutput::writeAhead() {
    if (m_stream == nullptr || m_sink->isSuspended()) {
        return;
    }
    const qint64 room = m_sink->bytesFree() / kBytesPerFrame;
    if (room <= 0) {
        return;
    }
    m_buffer.resize(std::size_t(room) * 2);
    std::vector<PcmEvent> events;
    const qint64 rendered =
        isPlaying() && m_queue != nullptr ? m_queue->render(m_buffer.data(), room, events) : 0;
    if (rendered > 0 || !events.empty()) {
        m_primed = true;
    }
    const qint64 frames = m_primed ? room : rendered;
    if (frames == 0) {
        return;
    }
    std::fill(m_buffer.begin() + std::ptrdiff_t(rendered) * 2,
              m_buffer.begin() + std::ptrdiff_t(frames) * 2, std::int16_t(0));
    for (PcmEvent& event : events) {
        event.frame += m_written;
        m_events.push_back(event);
    }
    const qint64 written =
        m_stream->write(reinterpret_cast<const char*>(m_buffer.data()), frames * kBytesPerFrame);
    m_written += std::max<qint64>(written, 0) / kBytesPerFrame;
}

} // namespace quorvella
