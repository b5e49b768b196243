#include "speech/espeak_backend.h"

#include "speech/espeak_api.h"
#include "speech/shared_library.h"

#include <QList>
#include <algorithm>
#include <cmath>
#include <dlfcn.h>
#include <espeak-ng/speak_lib.h>
#include <exception>
#include <vector>

namespace quorvella {

namespace {

struct SynthContext {
    const SampleSink* sink = nullptr;
    const WordSink* words = nullptr;
    int sampleRate = 22050;
    bool stopped = false;
    std::exception_ptr failure;    // what the sinks threw; it goes on once espeak-ng has returned
    std::vector<qsizetype> unitOf; // the UTF-16 unit at which each character of the text starts
    std::size_t delivered = 0;     // samples given to the sink so far

    bool deliver(const short* samples, std::size_t count) {
        delivered += count;
        return count == 0 ||
               (*sink)(reinterpret_cast<const std::int16_t*>(samples), count, sampleRate);
    }

    // A word event counts characters from 1.
    WordSpan span(int position, int length) const {
        const auto unit = [this](int character) {
            return unitOf.at(
                std::clamp(std::size_t(std::max(character, 0)), std::size_t(0), unitOf.size() - 1));
        };
        const qsizetype start = unit(position - 1);
        return {start, unit(position - 1 + length) - start};
    }
};

// espeak_Cancel does not stop synchronous synthesis: returning 1 from here does. Nothing thrown
// may pass through espeak-ng's own frames: it is kept and the synthesis stopped.
int synthCallback(short* samples, int count, espeak_EVENT* events) {
    auto* context = events != nullptr ? static_cast<SynthContext*>(events->user_data) : nullptr;
    if (context == nullptr) {
        return 0;
    }
    if (context->stopped) {
        return 1;
    }
    try {
        // The chunk's samples go out in pieces cut where its words start; event sample numbers
        // count from the start of the synthesis.
        const std::size_t total = samples != nullptr && count > 0 ? std::size_t(count) : 0;
        const std::size_t chunkStart = context->delivered;
        std::size_t at = 0;
        for (const espeak_EVENT* event = events; event->type != espeakEVENT_LIST_TERMINATED;
             ++event) {
            if (event->type != espeakEVENT_WORD) {
                continue;
            }
            const auto sample = std::size_t(std::max(event->sample, 0));
            const std::size_t cut =
                std::clamp(sample, chunkStart + at, chunkStart + total) - chunkStart;
            if (!context->deliver(samples + at, cut - at)) {
                context->stopped = true;
                return 1;
            }
            at = cut;
            (*context->words)(context->span(event->text_position, event->length));
        }
        if (!context->deliver(samples + at, total - at)) {
            context->stopped = true;
            return 1;
        }
    } catch (...) {
        context->failure = std::current_exception();
        context->stopped = true;
        return 1;
    }
    return 0;
}

bool speaksEnglish(const espeak_VOICE& voice) {
    // languages: a priority byte, then a language name, repeated; a 0 priority ends the list.
    for (const char* entry = voice.languages; entry != nullptr && entry[0] != '\0';
         entry += 2 + std::char_traits<char>::length(entry + 1)) {
        const QByteArray language(entry + 1);
        if (language == "en" || language.startsWith("en-")) {
            return true;
        }
    }
    return false;
}

// American first, then British Received Pronunciation, then the rest by name.
int accentRank(const QByteArray& identifier) {
    const QByteArray lower = identifier.toLower();
    if (lower.endsWith("/en-us")) {
        return 0;
    }
    return lower.endsWith("/en-gb-x-rp") ? 1 : 2;
}

// The engine's default speed (170 wpm) is espeak-ng's own rate (175); other speeds scale from it.
int espeakRate(int speed) {
    return std::clamp(int(std::lround(speed * double(espeakRATE_NORMAL) / 170.0)),
                      espeakRATE_MINIMUM, espeakRATE_MAXIMUM);
}

// The engine's default pitch (169) is espeak-ng's own (50 of 0-100); other pitches scale its F0
// by pitch / 169 as far as espeak-ng reaches. Its F0 grows about 0.9% a step (en-us: 72 Hz at 0,
// 105 at 50, 171 at 100), so a factor r is 80 * log2(r) steps.
int espeakPitch(int pitch) {
    return std::clamp(int(std::lround(50.0 + 80.0 * std::log2(pitch / 169.0))), 0, 100);
}

} // namespace

std::unique_ptr<EspeakBackend> EspeakBackend::load() {
    auto api = std::make_unique<Api>();
    api->library = dlopen("libespeak-ng.so.1", RTLD_NOW | RTLD_LOCAL);
    if (api->library == nullptr) {
        return nullptr;
    }
    void* lib = api->library;
    const bool complete = resolve(lib, "espeak_ng_InitializePath", api->initializePath) &&
                          resolve(lib, "espeak_Initialize", api->initialize) &&
                          resolve(lib, "espeak_SetSynthCallback", api->setSynthCallback) &&
                          resolve(lib, "espeak_ListVoices", api->listVoices) &&
                          resolve(lib, "espeak_SetVoiceByName", api->setVoiceByName) &&
                          resolve(lib, "espeak_SetParameter", api->setParameter) &&
                          resolve(lib, "espeak_Synth", api->synth) &&
                          resolve(lib, "espeak_Terminate", api->terminate);
    if (!complete) {
        dlclose(lib);
        return nullptr;
    }
    // Listing the voices needs only the data folder; the phoneme data (a megabyte) is loaded
    // when a voice is first used.
    api->initializePath(nullptr);

    struct Found {
        QByteArray identifier;
        QString name;
    };
    std::vector<Found> found;
    for (const espeak_VOICE** voice = api->listVoices(nullptr);
         voice != nullptr && *voice != nullptr; ++voice) {
        const QByteArray identifier((*voice)->identifier);
        if (!identifier.startsWith("mb/") && speaksEnglish(**voice)) {
            found.push_back(
                {identifier, QStringLiteral("espeak-ng %1%2")
                                 .arg(QString::fromUtf8((*voice)->name),
                                      (*voice)->gender == 2 ? QStringLiteral(", female")
                                                            : QStringLiteral(", male"))});
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return std::pair(accentRank(a.identifier), a.name) <
               std::pair(accentRank(b.identifier), b.name);
    });
    if (found.empty()) {
        return nullptr; // the library stays: espeak-ng cannot be unloaded before it is set up
    }

    QList<QByteArray> identifiers;
    QStringList names;
    for (const Found& f : found) {
        identifiers << f.identifier;
        names << f.name;
    }
    return create(std::move(api), std::move(identifiers), std::move(names));
}

std::unique_ptr<EspeakBackend>
EspeakBackend::create(std::unique_ptr<Api> api, QList<QByteArray> identifiers, QStringList names) {
    std::unique_ptr<EspeakBackend> backend(new EspeakBackend);
    backend->m_api = std::move(api);
    backend->m_identifiers = std::move(identifiers);
    backend->m_names = std::move(names);
    return backend;
}

EspeakBackend::~EspeakBackend() {
    if (m_state == State::Ready) {
        m_api->terminate();
    }
}

bool EspeakBackend::prepare(int /*voice*/) {
    if (m_state == State::Listed) {
        // Chunks of 100 ms; espeak-ng must not end the process on a data error.
        m_sampleRate =
            m_api->initialize(AUDIO_OUTPUT_SYNCHRONOUS, 100, nullptr, espeakINITIALIZE_DONT_EXIT);
        m_state = m_sampleRate > 0 ? State::Ready : State::Unusable;
        if (m_state == State::Ready) {
            m_api->setSynthCallback(synthCallback);
        }
    }
    return m_state == State::Ready;
}

QStringList EspeakBackend::voiceNames() const {
    return m_names;
}

bool EspeakBackend::synthesize(int voice, const QString& text, const VoiceSettings& settings,
                               const SampleSink& sink, const WordSink& words) {
    if (!prepare(voice)) {
        return true; // espeak-ng's data cannot be loaded: nothing is said
    }
    // A voice that cannot be selected would speak in the voice used before it, and a rate or
    // pitch that cannot be set at the previous text's: the sentence is not said at all then.
    const QByteArray& identifier = m_identifiers.at(voice);
    const auto check = [&identifier](espeak_ERROR error, const char* what) {
        if (error != EE_OK) {
            throw SynthesisError(QStringLiteral("espeak-ng could not %1 %2 (espeak-ng error %3)")
                                     .arg(QLatin1String(what), QString::fromUtf8(identifier))
                                     .arg(int(error))
                                     .toStdString());
        }
    };
    check(m_api->setVoiceByName(identifier.constData()), "select the voice");
    check(m_api->setParameter(espeakRATE, espeakRate(settings.speed), 0),
          "set the rate of the voice");
    check(m_api->setParameter(espeakPITCH, espeakPitch(settings.pitch), 0),
          "set the pitch of the voice");

    SynthContext context{&sink, &words, m_sampleRate, false, {}, {}, 0};
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text.at(i).isLowSurrogate() || i == 0 || !text.at(i - 1).isHighSurrogate()) {
            context.unitOf.push_back(i);
        }
    }
    context.unitOf.push_back(text.size());
    const QByteArray utf8 = text.toUtf8();
    const espeak_ERROR result = m_api->synth(utf8.constData(), std::size_t(utf8.size()) + 1, 0,
                                             POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, &context);
    if (context.failure) {
        std::rethrow_exception(context.failure);
    }
    if (!context.stopped) { // a synthesis the sink stopped may end as it likes
        check(result, "speak with the voice");
    }
    return !context.stopped;
}

} // namespace quorvella
