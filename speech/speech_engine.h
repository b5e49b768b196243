#pragma once
// The text-to-speech component as every speaking window uses it: speak, stop, pause, resume,
// voice, speed, pitch and volume with their bounds. How speech is made is left to the engines.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace quorvella {

class SpeechEngine : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~SpeechEngine() override = default;

    // Returns at once; speaking goes on while the window handles events. A text spoken while an
    // earlier one is still being spoken waits for it to end, and takes the place of a text still
    // waiting, which is then not spoken and reports no TextDataDone; callers that want to cut in
    // stop first.
    virtual void SpeakText(const QString& text) = 0;
    // All speech of this engine stops at once; a text cut short reports no TextDataDone.
    virtual void StopSpeech() = 0;
    virtual void PauseSpeech() = 0;
    virtual void ResumeSpeech() = 0;

    // Voices are numbered 1 to VoiceCount.
    virtual void SelectVoice(int voice) = 0;
    virtual int VoiceCount() const = 0;
    // What voice 1..VoiceCount is, for the learner: synthesiser, voice, accent, man or woman
    // ("flite rms, American English, male"); empty where the engine does not say.
    virtual QString VoiceName(int /*voice*/) const { return {}; }

    virtual int Speed() const = 0;
    virtual void SetSpeed(int speed) = 0;
    virtual int MinSpeed() const = 0;
    virtual int MaxSpeed() const = 0;

    virtual int Pitch() const = 0;
    virtual void SetPitch(int pitch) = 0;
    virtual int MinPitch() const = 0;
    virtual int MaxPitch() const = 0;

    virtual int VolumeRight() const = 0;
    virtual void SetVolumeRight(int volume) = 0;
    virtual void SetVolumeLeft(int volume) = 0;
    virtual int MinVolumeRight() const = 0;
    virtual int MaxVolumeRight() const = 0;

signals:
    // The text of a SpeakText has been spoken to its end. Always delivered on the GUI thread.
    void TextDataDone();
    // A word of the text being spoken is heard from now on: offset and length count the UTF-16
    // units of the text given to SpeakText. Delivered on the GUI thread as the word's first
    // audio is played, words in their order; not for a text that was stopped.
    void WordReached(int offset, int length);
};

// Makes the engine a speaking window owns; throws AppError when no engine can be made.
using SpeechEngineFactory = std::function<std::unique_ptr<SpeechEngine>()>;

} // namespace quorvella
