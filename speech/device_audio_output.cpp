#include "speech/device_audio_output.h"

#include "core/data_folder.h"
#include "speech/stream_feeder.h"

#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <dlfcn.h>

namespace quorvella {

namespace {

// How often the feeding thread looks at the stream: well within what the stream holds.
constexpr int kTickMs = 10;

// The audio module's opening function, from the library beside the executable, loaded once; it
// stays loaded for the rest of the run. nullptr, said once on stderr, when it cannot be loaded.
OpenAudioDevice audioModule() {
    static const OpenAudioDevice open = []() -> OpenAudioDevice {
        const QByteArray path =
            (applicationFolder() + QLatin1String(kAudioModuleFile)).toLocal8Bit();
        void* module = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
        void* function = module != nullptr ? dlsym(module, kOpenAudioDeviceFunction) : nullptr;
        if (function == nullptr) {
            std::fprintf(stderr,
                         "quorvella: the audio module %s cannot be loaded (%s); speech is "
                         "not heard\n",
                         path.constData(), dlerror());
            return nullptr;
        }
        return reinterpret_cast<OpenAudioDevice>(function);
    }();
    return open;
}

} // namespace

// The device and its feeder, on the output's thread: every call to the device is made there.
class DeviceAudioOutput::Pump final : public QObject {
public:
    Pump(std::unique_ptr<AudioDevice> device, DeviceAudioOutput* output)
        : m_device(std::move(device)),
          m_feeder(m_device.get(),
                   [output](const PcmEvent& event, std::uint64_t generation) {
                       QMetaObject::invokeMethod(
                           output,
                           [output, event, generation] { output->played(event, generation); },
                           Qt::QueuedConnection);
                   }),
          m_timer(this) {
        m_timer.setInterval(kTickMs);
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, &Pump::tick);
        m_clock.start();
    }

    // Whether a stream can be opened on the device. The device keeps a spare stream from then on.
    bool canOpen() {
        const bool opened = m_device->open(StreamFeeder::kStreamBufferBytes);
        m_device->close();
        return opened;
    }

    void setState(PcmQueue* queue, bool active, bool paused) {
        if (!m_device) {
            return; // shut down
        }
        m_feeder.attach(queue);
        m_feeder.setState(active, paused);
        tick();
    }

    void drop(std::uint64_t generation) {
        if (!m_device) {
            return;
        }
        m_feeder.drop(generation);
        tick();
    }

    // Closes the stream; the device is let go on this thread.
    void shutDown() {
        m_timer.stop();
        m_feeder.setState(false, false);
        m_device.reset();
    }

private:
    void tick() {
        if (!m_device) {
            return;
        }
        m_feeder.tick(m_clock.nsecsElapsed() / 1000);
        if (!m_feeder.needsTicks()) {
            m_timer.stop();
        } else if (!m_timer.isActive()) {
            m_timer.start();
        }
    }

    std::unique_ptr<AudioDevice> m_device;
    StreamFeeder m_feeder;
    QTimer m_timer;
    QElapsedTimer m_clock;
};

DeviceAudioOutput::DeviceAudioOutput(std::unique_ptr<AudioDevice> device)
    : m_pump(new Pump(std::move(device), this)) {
    m_thread.setObjectName(QStringLiteral("quorvella audio"));
    m_pump->moveToThread(&m_thread);
    m_thread.start(QThread::TimeCriticalPriority);
}

DeviceAudioOutput::~DeviceAudioOutput() {
    QMetaObject::invokeMethod(
        m_pump, [pump = m_pump] { pump->shutDown(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_pump;
}

std::unique_ptr<DeviceAudioOutput> DeviceAudioOutput::open() {
    const OpenAudioDevice openDevice = audioModule();
    std::unique_ptr<AudioDevice> device(openDevice != nullptr ? openDevice(kSampleRate) : nullptr);
    if (!device) {
        return nullptr;
    }
    std::unique_ptr<DeviceAudioOutput> output(new DeviceAudioOutput(std::move(device)));
    bool opened = false;
    QMetaObject::invokeMethod(
        output->m_pump, [&opened, pump = output->m_pump] { opened = pump->canOpen(); },
        Qt::BlockingQueuedConnection);
    return opened ? std::move(output) : nullptr;
}

void DeviceAudioOutput::playingChanged() {
    QMetaObject::invokeMethod(
        m_pump,
        [pump = m_pump, queue = m_queue, active = isActive(), paused = isPaused()] {
            pump->setState(queue, active, paused);
        },
        Qt::QueuedConnection);
}

void DeviceAudioOutput::dropHeldAudio() {
    if (m_queue == nullptr) {
        return;
    }
    QMetaObject::invokeMethod(
        m_pump, [pump = m_pump, generation = m_queue->generation()] { pump->drop(generation); },
        Qt::QueuedConnection);
}

// A report of audio that a stop has dropped since is old news.
void DeviceAudioOutput::played(const PcmEvent& event, std::uint64_t generation) {
    if (m_queue == nullptr || generation != m_queue->generation()) {
        return;
    }
    if (event.endOfText) {
        emit textPlayed();
    } else {
        emit wordPlayed(event.word);
    }
}

} // namespace quorvella
