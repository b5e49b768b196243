#include "speech/flite_backend.h"

#include "speech/shared_library.h"

#include <algorithm>
#include <climits>
#include <dlfcn.h>
#include <exception>
#include <flite/cst_cg.h>
#include <flite/flite.h>
#include <unistd.h>
#include <vector>

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
    cst_relation* (*relation)(const cst_utterance*, const char*) = nullptr;
    cst_item* (*relationHead)(cst_relation*) = nullptr;
    cst_item* (*next)(const cst_item*) = nullptr;
    cst_item* (*previous)(const cst_item*) = nullptr;
    const char* (*featString)(const cst_item*, const char*) = nullptr;
    float (*featFloat)(const cst_item*, const char*) = nullptr;
    cst_item* (*pathToItem)(const cst_item*, const char*) = nullptr;
};

struct FliteBackend::Voice {
    QString name;
    const char* libraryName = nullptr;
    const char* registration = nullptr; // the library's function that makes the voice
    void* library = nullptr;
    cst_voice* voice = nullptr; // made when the voice is first used
    bool unusable = false;      // making it failed
    // The voice's own duration stretch and mean F0 target (0: it has none), as registered;
    // whether its features name them, or leave flite to its default.
    float stretch = 1.0F;
    float f0 = 0.0F;
    bool namesStretch = false;
    bool namesF0 = false;
};

namespace {

// A word of the text and the first sample of its sound.
struct TimedWord {
    WordSpan span;
    std::size_t sample = 0;
};

// The per-call state that the streaming callback reaches through the voice's streaming info.
struct StreamContext {
    const FliteBackend::Api* api = nullptr;
    const QString* text = nullptr;
    const SampleSink* sink = nullptr;
    const WordSink* words = nullptr;
    bool stopped = false;
    std::exception_ptr failure; // what the sinks threw; it goes on once flite has returned
    bool streamed = false;
    bool timed = false; // the words' times have been read from the utterance
    std::vector<TimedWord> timedWords;
    std::size_t nextWord = 0;

    // Gives the samples from start on (their first is sample number start of the utterance),
    // telling each word whose sound starts among them (or before them) first.
    bool deliver(const cst_wave* wave, std::size_t start, std::size_t size) {
        const auto* samples = reinterpret_cast<const std::int16_t*>(wave->samples);
        std::size_t at = start;
        while (nextWord < timedWords.size() && timedWords[nextWord].sample < start + size) {
            const std::size_t cut = std::max(timedWords[nextWord].sample, at);
            if (cut > at && !(*sink)(samples + at, cut - at, wave->sample_rate)) {
                return false;
            }
            at = cut;
            (*words)(timedWords[nextWord++].span);
        }
        return at == start + size || (*sink)(samples + at, start + size - at, wave->sample_rate);
    }
};

// Reads where each token of the utterance starts to sound (the end of the segment before its
// first word's first segment), and finds the token in the text after the token before it.
// Tokens with no spoken word (punctuation alone) and tokens not found in the text are passed over.
std::vector<TimedWord> timedWordsOf(const FliteBackend::Api& api, const cst_utterance* utterance,
                                    const QString& text, int sampleRate) {
    std::vector<TimedWord> found;
    cst_relation* tokens = api.relation(utterance, "Token");
    qsizetype from = 0;
    for (const cst_item* token = tokens != nullptr ? api.relationHead(tokens) : nullptr;
         token != nullptr; token = api.next(token)) {
        // The token's first word that is spoken ("!We" has a silent "!" before "we").
        const cst_item* segment = nullptr;
        for (const cst_item* word = api.pathToItem(token, "daughter1");
             word != nullptr && segment == nullptr; word = api.next(word)) {
            segment = api.pathToItem(word, "R:SylStructure.daughter1.daughter1.R:Segment");
        }
        const char* name = api.featString(token, "name");
        if (segment == nullptr || name == nullptr || name[0] == '\0') {
            continue;
        }
        const QString word = QString::fromLatin1(name);
        const qsizetype at = text.indexOf(word, from);
        if (at < 0) {
            continue;
        }
        from = at + word.size();
        const cst_item* before = api.previous(segment);
        const float seconds = before != nullptr ? api.featFloat(before, "end") : 0.0F;
        found.push_back(
            {{at, word.size()}, std::size_t(std::max(seconds, 0.0F) * float(sampleRate))});
    }
    // Times never go back, so that the words are told in order.
    for (std::size_t i = 1; i < found.size(); ++i) {
        found[i].sample = std::max(found[i].sample, found[i - 1].sample);
    }
    return found;
}

int streamChunk(const cst_wave* wave, int start, int size, int /*last*/,
                cst_audio_streaming_info* info) {
    auto* context = static_cast<StreamContext*>(info->userdata);
    context->streamed = true;
    if (context->stopped) {
        return CST_AUDIO_STREAM_STOP;
    }
    // Nothing thrown may pass through flite's own frames: it is kept and the synthesis stopped.
    try {
        if (!context->timed && info->utt != nullptr) {
            context->timedWords =
                timedWordsOf(*context->api, info->utt, *context->text, wave->sample_rate);
            context->timed = true;
        }
        if (size > 0 && !context->deliver(wave, std::size_t(start), std::size_t(size))) {
            context->stopped = true;
            return CST_AUDIO_STREAM_STOP;
        }
    } catch (...) {
        context->failure = std::current_exception();
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
        resolve(lib, "utt_wave", api->utteranceWave) &&
        resolve(lib, "utt_relation", api->relation) &&
        resolve(lib, "relation_head", api->relationHead) && resolve(lib, "item_next", api->next) &&
        resolve(lib, "item_prev", api->previous) &&
        resolve(lib, "item_feat_string", api->featString) &&
        resolve(lib, "item_feat_float", api->featFloat) &&
        resolve(lib, "path_to_item", api->pathToItem);
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
    // A voice is listed when its library is installed beside flite's, where flite's packages put
    // them; one found elsewhere is opened to be sure. Opening a voice's library and making the
    // voice cost a few megabytes each, so that waits until the voice is used.
    char origin[PATH_MAX] = {};
    const bool located = dlinfo(lib, RTLD_DI_ORIGIN, origin) == 0;
    for (const Known& k : known) {
        Voice listed{QString::fromLatin1(k.name), k.library, k.registration};
        const QByteArray besideFlite = QByteArray(origin) + '/' + k.library;
        if (!located || access(besideFlite.constData(), R_OK) != 0) {
            listed.library = dlopen(k.library, RTLD_NOW | RTLD_LOCAL);
            if (listed.library == nullptr) {
                continue;
            }
        }
        backend->m_voices.push_back(listed);
    }
    if (backend->m_voices.empty()) {
        return nullptr;
    }
    backend->m_api = std::move(api);
    return backend;
}

bool FliteBackend::prepare(int voice) {
    Voice& v = m_voices.at(std::size_t(voice));
    if (v.voice != nullptr || v.unusable) {
        return v.voice != nullptr;
    }
    if (v.library == nullptr) {
        v.library = dlopen(v.libraryName, RTLD_NOW | RTLD_LOCAL);
    }
    cst_voice* (*registration)(const char*) = nullptr;
    if (v.library != nullptr && resolve(v.library, v.registration, registration)) {
        v.voice = registration(nullptr);
    }
    if (v.voice == nullptr) {
        v.unusable = true;
        return false;
    }
    // A feature the voice does not name takes flite's default: a stretch of 1, and for a
    // clustergen voice the mean F0 of its model.
    const cst_features* features = v.voice->features;
    v.namesStretch = m_api->present(features, "duration_stretch") != 0;
    v.stretch = m_api->getFloat(features, "duration_stretch", 1.0F);
    v.namesF0 = m_api->present(features, "int_f0_target_mean") != 0;
    float modelF0 = 0.0F;
    if (m_api->present(features, "cg_db") != 0) {
        modelF0 = m_api->cgDatabase(m_api->value(features, "cg_db"))->f0_mean;
    }
    v.f0 = m_api->getFloat(features, "int_f0_target_mean", modelF0);
    return true;
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
                              const SampleSink& sink, const WordSink& words) {
    if (!prepare(voice)) {
        return true; // a voice that cannot be made says nothing
    }
    const Voice& chosen = m_voices.at(std::size_t(voice));
    cst_features* features = chosen.voice->features;
    m_api->setFloat(features, "duration_stretch",
                    chosen.stretch * kOwnSpeed / float(settings.speed));
    if (chosen.f0 > 0.0F) {
        m_api->setFloat(features, "int_f0_target_mean",
                        chosen.f0 * float(settings.pitch) / kOwnPitch);
    }
    StreamContext context;
    context.api = m_api.get();
    context.text = &text;
    context.sink = &sink;
    context.words = &words;
    cst_audio_streaming_info* streaming = m_api->newStreamingInfo(); // the features own it
    streaming->min_buffsize = 320; // 20 ms at 16 kHz: the first word starts sooner
    streaming->asc = streamChunk;
    streaming->userdata = &context;
    m_api->setValue(features, "streaming_info", m_api->streamingInfoValue(streaming));

    const QByteArray bytes = text.toLatin1();
    cst_utterance* utterance = m_api->synthText(bytes.constData(), chosen.voice);
    if (utterance != nullptr && !context.streamed && !context.stopped) {
        // A voice that does not stream hands its whole wave over at the end.
        if (const cst_wave* wave = m_api->utteranceWave(utterance);
            wave != nullptr && wave->num_samples > 0) {
            try {
                context.timedWords = timedWordsOf(*m_api, utterance, text, wave->sample_rate);
                context.stopped = !context.deliver(wave, 0, std::size_t(wave->num_samples));
            } catch (...) { // the utterance and the voice's features are put right first
                context.failure = std::current_exception();
            }
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
    if (context.failure) {
        std::rethrow_exception(context.failure);
    }
    return !context.stopped;
}

} // namespace quorvella
