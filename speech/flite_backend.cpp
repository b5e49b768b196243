#include "speech/flite_backend.h"

#include "speech/shared_library.h"

#include <dlfcn.h>
#include <flite/cst_cg.h>
#include <flite/flite.h>

namespace quorvella {

struct FliteBackend::Api {
    void* library = nullptr;
    int (*init)() = nullptr;
    cst_utterance* (*synthText)(const char*, cst_voice*) = nullptr;
    void (*deleteUtterance)(cst_utterance*) = nullptr;
    void (*setFloat)(cst_features*, const char*, float) = nullptr;
    void (*setValue)(cst_features*, const char*, const cst_val*) = nullptr;
    int (*present)(const cst_features*, const char*) = nullptr;
    float (*getFloat)(const cst_features*, const char*, float) = nullptr;
    const cst_val* (*value)(const cst_features*, const char*) = nullptr;
    int (*remove)(cst_features*, const char*) = nullptr;
    cst_cg_db* (*cgDatabase)(const cst_val*) = nullptr;
    cst_audio_streaming_info* (*newStreamingInfo)() = nullptr;
    const cst_val* (*streamingInfoValue)(const cst_audio_streaming_info*) = nullptr;
    cst_wave* (*utteranceWave)(cst_utterance*) = nullptr;
};

struct FliteBackend::Voice {
    QString name;
    void* library = nullptr;
    cst_voice* voice = nullptr;
    // The voice's own duration stretch and mean F0 target (0: it has none), as registered;
    // whether its features name them, or leave flite to its default.
    float stretch = 1.0F;
    float f0 = 0.0F;
    bool namesStretch = false;
    bool namesF0 = false;
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

// The speed and pitch at which a voice speaks as its makers tuned it.
constexpr float kOwnSpeed = 170.0F;
constexpr float kOwnPitch = 169.0F;

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
        resolve(lib, "feat_present", api->present) &&
        resolve(lib, "get_param_float", api->getFloat) && resolve(lib, "feat_val", api->value) &&
        resolve(lib, "feat_remove", api->remove) && resolve(lib, "val_cg_db", api->cgDatabase) &&
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
        Voice found{QString::fromLatin1(k.name), voiceLibrary, voice};
        // A feature the voice does not name takes flite's default: a stretch of 1, and for a
        // clustergen voice the mean F0 of its model.
        found.namesStretch = api->present(voice->features, "duration_stretch") != 0;
        found.stretch = api->getFloat(voice->features, "duration_stretch", 1.0F);
        found.namesF0 = api->present(voice->features, "int_f0_target_mean") != 0;
        float modelF0 = 0.0F;
        if (api->present(voice->features, "cg_db") != 0) {
            modelF0 = api->cgDatabase(api->value(voice->features, "cg_db"))->f0_mean;
        }
        found.f0 = api->getFloat(voice->features, "int_f0_target_mean", modelF0);
        backend->m_voices.push_back(found);
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

// Speed and pitch scale from the voice's own: stretch = own stretch * 170 / speed, F0 mean =
// own F0 * pitch / 169. The voice's features are set for this call and left as registered after
// it (flite's voices are shared by the whole process).
bool FliteBackend::synthesize(int voice, const QString& text, const VoiceSettings& settings,
                              const SampleSink& sink) {
    const Voice& chosen = m_voices.at(std::size_t(voice));
    cst_features* features = chosen.voice->features;
    m_api->setFloat(features, "duration_stretch",
                    chosen.stretch * kOwnSpeed / float(settings.speed));
    if (chosen.f0 > 0.0F) {
        m_api->setFloat(features, "int_f0_target_mean",
                        chosen.f0 * float(settings.pitch) / kOwnPitch);
    }
    StreamContext context;
    context.sink = &sink;
    cst_audio_streaming_info* streaming = m_api->newStreamingInfo(); // the features own it
    streaming->min_buffsize = 1600;                                  // 0.1 s at 16 kHz
    streaming->asc = streamChunk;
    streaming->userdata = &context;
    m_api->setValue(features, "streaming_info", m_api->streamingInfoValue(streaming));

    const QByteArray bytes = text.toLatin1();
    cst_utterance* utterance = m_api->synthText(bytes.constData(), chosen.voice);
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

    m_api->remove(features, "streaming_info");
    if (chosen.namesStretch) {
        m_api->setFloat(features, "duration_stretch", chosen.stretch);
    } else {
        m_api->remove(features, "duration_stretch");
    }
    if (chosen.namesF0) {
        m_api->setFloat(features, "int_f0_target_mean", chosen.f0);
    } else if (chosen.f0 > 0.0F) {
        m_api->remove(features, "int_f0_target_mean");
    }
    return !context.stopped;
}

} // namespace quorvella
