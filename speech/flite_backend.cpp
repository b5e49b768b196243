#include "speech/flite_backend.h"

#include "speech/shared_library.h"

#include <dlfcn.h>
#include <flite/flite.h>

namespace quorvella {

struct FliteBackend::Api {
    void* library = nullptr;
    int (*init)() = nullptr;
    cst_utterance* (*synthText)(const char*, cst_voice*) = nullptr;
    void (*deleteUtterance)(cst_utterance*) = nullptr;
    void (*setFloat)(cst_features*, const char*, float) = nullptr;
    void (*setValue)(cst_features*, const char*, const cst_val*) = nullptr;
    cst_audio_streaming_info* (*newStreamingInfo)() = nullptr;
    const cst_val* (*streamingInfoValue)(const cst_audio_streaming_info*) = nullptr;
    cst_wave* (*utteranceWave)(cst_utterance*) = nullptr;
};

struct FliteBackend::Voice {
    QString name;
    void* library = nullptr;
    cst_voice* voice = nullptr;
    cst_audio_streaming_info* streaming = nullptr;
};

namespace {

// The per-call state that the streaming callback reaches through the voice's streaming info.
struct StreamContext {
    const SampleSink* sink = nullptr;
    bool stopped = false;
    bool streamed = false;
};

int streamChunk(const cst_wave* wave, int start, int size, int /*last*/,
                cst_audio_streaming_info* info) {
    auto* context = static_cast<StreamContext*>(info->userdata);
    context->streamed = true;
    if (context->stopped) {
        return CST_AUDIO_STREAM_STOP;
    }
    if (size > 0 && !(*context->sink)(reinterpret_cast<const std::int16_t*>(wave->samples) + start,
                                      std::size_t(size), wave->sample_rate)) {
        context->stopped = true;
        return CST_AUDIO_STREAM_STOP;
    }
    return CST_AUDIO_STREAM_CONT;
}

// flite's own pace is about this many words per minute.
constexpr float kNaturalSpeed = 170.0F;

} // namespace

std::unique_ptr<FliteBackend> FliteBackend::load() {
    auto api = std::make_unique<Api>();
    api->library = dlopen("libflite.so.1", RTLD_NOW | RTLD_GLOBAL);
    if (api->library == nullptr) {
        return nullptr;
    }
    void* lib = api->library;
    const bool complete =
        resolve(lib, "flite_init", api->init) && resolve(lib, "flite_synth_text", api->synthText) &&
        resolve(lib, "delete_utterance", api->deleteUtterance) &&
        resolve(lib, "feat_set_float", api->setFloat) && resolve(lib, "feat_set", api->setValue) &&
        resolve(lib, "new_audio_streaming_info", api->newStreamingInfo) &&
        resolve(lib, "audio_streaming_info_val", api->streamingInfoValue) &&
        resolve(lib, "utt_wave", api->utteranceWave);
    if (!complete) {
        dlclose(lib);
        return nullptr;
    }
    api->init();

    std::unique_ptr<FliteBackend> backend(new FliteBackend);
    struct Known {
        const char* name;
        const char* library;
        const char* registration;
    };
    const Known known[] = {
        {"flite rms, American English, male", "libflite_cmu_us_rms.so.1", "register_cmu_us_rms"},
        {"flite slt, American English, female", "libflite_cmu_us_slt.so.1", "register_cmu_us_slt"},
        {"flite kal16, American English, male", "libflite_cmu_us_kal16.so.1",
         "register_cmu_us_kal16"},
        {"flite awb, Scottish English, male", "libflite_cmu_us_awb.so.1", "register_cmu_us_awb"},
    };
    for (const Known& k : known) {
        void* voiceLibrary = dlopen(k.library, RTLD_NOW | RTLD_LOCAL);
        cst_voice* (*registration)(const char*) = nullptr;
        if (voiceLibrary == nullptr) {
            continue;
        }
        cst_voice* voice =
            resolve(voiceLibrary, k.registration, registration) ? registration(nullptr) : nullptr;
        if (voice == nullptr) {
            dlclose(voiceLibrary);
            continue;
        }
        cst_audio_streaming_info* streaming = api->newStreamingInfo();
        streaming->min_buffsize = 1600; // 0.1 s at 16 kHz
        streaming->asc = streamChunk;
        api->setValue(voice->features, "streaming_info", api->streamingInfoValue(streaming));
        backend->m_voices.push_back({QString::fromLatin1(k.name), voiceLibrary, voice, streaming});
    }
    if (backend->m_voices.empty()) {
        return nullptr;
    }
    backend->m_api = std::move(api);
    return backend;
}

// The voices and the library stay loaded for the life of the process: flite keeps global state
// that refers into them.
FliteBackend::~FliteBackend() = default;

QStringList FliteBackend::voiceNames() const {
    QStringList names;
    for (const Voice& voice : m_voices) {
        names << voice.name;
    }
    return names;
}

bool FliteBackend::synthesize(int voice, const QString& text, const VoiceSettings& settings,
                              const SampleSink& sink) {
    const Voice& chosen = m_voices.at(std::size_t(voice));
    cst_voice* v = chosen.voice;
    m_api->setFloat(v->features, "duration_stretch", kNaturalSpeed / float(settings.speed));
    m_api->setFloat(v->features, "int_f0_target_mean", float(settings.pitch));

    StreamContext context;
    context.sink = &sink;
    chosen.streaming->userdata = &context;

    const QByteArray bytes = text.toLatin1();
    cst_utterance* utterance = m_api->synthText(bytes.constData(), v);
    if (utterance != nullptr && !context.streamed && !context.stopped) {
        // A voice that does not stream hands its whole wave over at the end.
        if (const cst_wave* wave = m_api->utteranceWave(utterance);
            wave != nullptr && wave->num_samples > 0) {
            context.stopped = !sink(reinterpret_cast<const std::int16_t*>(wave->samples),
                                    std::size_t(wave->num_samples), wave->sample_rate);
        }
    }
    if (utterance != nullptr) {
        m_api->deleteUtterance(utterance);
    }
    chosen.streaming->userdata = nullptr;
    return !context.stopped;
}

} // namespace quorvella
