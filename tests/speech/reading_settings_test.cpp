#include "speech/reading_settings.h"

#include "core/app_error.h"
#include "tests/support/fake_speech_engine.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace quorvella {
namespace {

using Calls = QStringList;

// Texts of the speed, pitch and volume fields.
QStringList texts(const ReadingSettings& settings) {
    return {settings.speed().text(), settings.pitch().text(), settings.volume().text()};
}

// A filled group on a fake engine, its calls so far forgotten.
struct FilledGroup {
    FakeSpeechEngine engine;
    ReadingSettings settings;

    explicit FilledGroup(WindowKind kind,
                         const std::function<void(FakeSpeechEngine&)>& setUp = nullptr)
        : settings(engine, kind) {
        if (setUp) {
            setUp(engine);
        }
        settings.fill();
        engine.calls.clear();
    }
};

TEST(ReadingSettings, FillingWritesWhatTheFieldsShowInOrder) {
    struct Case {
        const char* name;
        WindowKind kind;
        std::function<void(FakeSpeechEngine&)> setUp;
        Calls calls;
        QStringList texts;
    };
    const std::vector<Case> cases = {
        {"lesson",
         WindowKind::Lesson,
         nullptr,
         {"Speed=150", "Speed=150", "Pitch=169", "VolumeRight=65535", "VolumeLeft=65535"},
         {"150", "169", "65535"}},
        {"lesson, speed range below 150",
         WindowKind::Lesson,
         [](FakeSpeechEngine& e) { e.maxSpeed = 120; },
         {"Speed=150", "Speed=120", "Pitch=169", "VolumeRight=65535", "VolumeLeft=65535"},
         {"120", "169", "65535"}},
        {"new word",
         WindowKind::NewWord,
         nullptr,
         {"Speed=170", "Pitch=169", "VolumeRight=65535", "VolumeLeft=65535"},
         {"170", "169", "65535"}},
        {"review",
         WindowKind::Review,
         nullptr,
         {"Speed=170", "Pitch=169", "VolumeRight=65535", "VolumeLeft=65535"},
         {"170", "169", "65535"}},
        // The engine's own values limited; a value that leaves "0" as it was writes nothing.
        {"new word, engine outside its ranges",
         WindowKind::NewWord,
         [](FakeSpeechEngine& e) {
             e.speed = 500;
             e.pitch = 10;
             e.volumeRight = 0;
         },
         {"Speed=450", "Pitch=50"},
         {"450", "50", "0"}},
    };
    for (const Case& c : cases) {
        FakeSpeechEngine engine;
        if (c.setUp) {
            c.setUp(engine);
        }
        ReadingSettings settings(engine, c.kind);
        settings.fill();
        EXPECT_EQ(engine.calls, c.calls) << c.name;
        EXPECT_EQ(texts(settings), c.texts) << c.name;
    }
}

TEST(ReadingSettings, FillingListsEveryVoiceAndSetsTheRanges) {
    FakeSpeechEngine engine;
    ReadingSettings settings(engine, WindowKind::NewWord);
    settings.fill();

    EXPECT_EQ(settings.voiceItems(), QStringList({"第1种声音", "第2种声音", "第3种声音"}));
    EXPECT_EQ(settings.voicePosition(), 0);
    EXPECT_EQ(settings.voiceText(), "第1种声音");
    EXPECT_EQ(engine.voice, 1);
    const auto range = [](const SpinField& f) { return std::pair(f.minimum(), f.maximum()); };
    EXPECT_EQ(range(settings.speed()), std::pair(80, 450));
    EXPECT_EQ(range(settings.pitch()), std::pair(50, 300));
    EXPECT_EQ(range(settings.volume()), std::pair(0, 65535));

    FakeSpeechEngine silent;
    silent.voiceCount = 0;
    ReadingSettings empty(silent, WindowKind::Lesson);
    empty.fill();
    EXPECT_TRUE(empty.voiceItems().isEmpty());
    EXPECT_EQ(empty.voicePosition(), -1);
}

TEST(ReadingSettings, AnUnfilledGroupStillPassesValuesOnUnlimited) {
    FakeSpeechEngine engine;
    ReadingSettings settings(engine, WindowKind::Lesson);
    EXPECT_EQ(texts(settings), QStringList({"0", "0", "0"}));

    settings.speed().setText("9000");
    settings.speed().focusLost();
    settings.pitch().setText("-");
    settings.volume().stepDown();
    settings.typeVoice("第1种声音");
    EXPECT_EQ(engine.calls, Calls({"Speed=9000", "Pitch=0", "VolumeRight=-5000", "VolumeLeft=-5000",
                                   "SelectVoice(0)"}));
}

TEST(ReadingSettings, TheVoiceListPassesPositionPlusOne) {
    FilledGroup group(WindowKind::Lesson);
    group.settings.pickVoice(2);
    EXPECT_EQ(group.engine.calls, Calls({"SelectVoice(3)"}));
    EXPECT_EQ(group.settings.voiceText(), "第3种声音");

    struct Case {
        QString typed;
        int position;
    };
    const std::vector<Case> cases = {
        {"第2种声音", 1}, {"第", -1}, {"第9种声音", -1}, {"", -1}, {"第2种声音 ", -1},
    };
    for (const Case& c : cases) {
        group.engine.calls.clear();
        group.settings.typeVoice(c.typed);
        EXPECT_EQ(group.settings.voicePosition(), c.position) << c.typed.toStdString();
        EXPECT_EQ(group.settings.voiceText(), c.typed);
        EXPECT_EQ(group.engine.calls, Calls{QStringLiteral("SelectVoice(%1)").arg(c.position + 1)});
    }
}

TEST(ReadingSettings, RestoreWritesTheDefaultThenShowsItLimited) {
    using Action = void (ReadingSettings::*)();
    struct Case {
        const char* name;
        WindowKind kind;
        std::function<void(FakeSpeechEngine&)> setUp;
        Action restore;
        Calls firstPress, secondPress;
        QStringList texts;
    };
    const auto slow = [](FakeSpeechEngine& e) {
        e.speed = 100;
        e.pitch = 100;
        e.volumeRight = 1000;
    };
    const auto narrow = [](FakeSpeechEngine& e) { e.maxSpeed = 120; };
    const std::vector<Case> cases = {
        {"new-word speed",
         WindowKind::NewWord,
         slow,
         &ReadingSettings::restoreSpeed,
         {"Speed=170", "Speed=170"},
         {"Speed=170"},
         {"170", "100", "1000"}},
        {"lesson speed",
         WindowKind::Lesson,
         slow,
         &ReadingSettings::restoreSpeed,
         {"Speed=150"},
         {"Speed=150"},
         {"150", "100", "1000"}},
        {"review speed",
         WindowKind::Review,
         slow,
         &ReadingSettings::restoreSpeed,
         {"Speed=170", "Speed=170"},
         {"Speed=170"},
         {"170", "100", "1000"}},
        // The field already shows the limit: the engine keeps the default it was given.
        {"new-word speed, range below 170",
         WindowKind::NewWord,
         narrow,
         &ReadingSettings::restoreSpeed,
         {"Speed=170"},
         {"Speed=170"},
         {"120", "169", "65535"}},
        {"pitch",
         WindowKind::NewWord,
         slow,
         &ReadingSettings::restorePitch,
         {"Pitch=169", "Pitch=169"},
         {"Pitch=169"},
         {"100", "169", "1000"}},
        {"volume",
         WindowKind::Lesson,
         slow,
         &ReadingSettings::restoreVolume,
         {"VolumeRight=65535", "VolumeLeft=65535", "VolumeRight=65535", "VolumeLeft=65535"},
         {"VolumeRight=65535", "VolumeLeft=65535"},
         {"150", "100", "65535"}},
        {"voice",
         WindowKind::NewWord,
         nullptr,
         &ReadingSettings::restoreVoice,
         {"SelectVoice(1)"},
         {"SelectVoice(1)"},
         {"170", "169", "65535"}},
    };
    for (const Case& c : cases) {
        FilledGroup group(c.kind, c.setUp);
        (group.settings.*c.restore)();
        EXPECT_EQ(group.engine.calls, c.firstPress) << c.name;
        group.engine.calls.clear();
        (group.settings.*c.restore)();
        EXPECT_EQ(group.engine.calls, c.secondPress) << c.name;
        EXPECT_EQ(texts(group.settings), c.texts) << c.name;
    }
}

TEST(ReadingSettings, RestoringTheVoiceSelectsTheFirstItemAfterTyping) {
    FilledGroup group(WindowKind::Lesson);
    group.settings.typeVoice("abc");
    group.settings.restoreVoice();
    EXPECT_EQ(group.engine.calls, Calls({"SelectVoice(0)", "SelectVoice(1)"}));
    EXPECT_EQ(group.settings.voicePosition(), 0);
    EXPECT_EQ(group.settings.voiceText(), "第1种声音");
}

TEST(ReadingSettings, EmptyPitchTextGivesTheMinimumPitch) {
    FilledGroup group(WindowKind::NewWord, [](FakeSpeechEngine& e) { e.minPitch = 60; });
    group.settings.pitch().setText("16");
    group.settings.pitch().setText("");
    EXPECT_EQ(group.engine.calls, Calls({"Pitch=16", "Pitch=60"}));
    EXPECT_EQ(group.engine.pitch, 60);
}

TEST(ReadingSettings, VolumeArrowsStepBy5000WithinTheRangeOnBothChannels) {
    FilledGroup group(WindowKind::Lesson, [](FakeSpeechEngine& e) {
        e.minVolume = 1000;
        e.volumeRight = 58000;
    });
    SpinField& volume = group.settings.volume();
    volume.stepUp(); // 63000
    volume.stepUp(); // 65535, limited
    volume.stepUp(); // 65535 again: nothing written
    volume.setText("4000");
    volume.stepDown(); // 1000, limited
    EXPECT_EQ(
        group.engine.calls,
        Calls({"VolumeRight=63000", "VolumeLeft=63000", "VolumeRight=65535", "VolumeLeft=65535",
               "VolumeRight=4000", "VolumeLeft=4000", "VolumeRight=1000", "VolumeLeft=1000"}));
    EXPECT_EQ(group.engine.volumeLeft, group.engine.volumeRight);
}

TEST(ReadingSettings, TheReviewGroupActsLikeTheNewWordGroup) {
    const auto session = [](WindowKind kind) {
        FilledGroup group(kind, [](FakeSpeechEngine& e) { e.speed = 200; });
        ReadingSettings& s = group.settings;
        s.speed().setText("300");
        s.pitch().stepUp();
        s.volume().setText("");
        s.pickVoice(1);
        s.typeVoice("x");
        s.restoreVoice();
        s.restoreSpeed();
        s.restorePitch();
        s.restoreVolume();
        return group.engine.calls;
    };
    const Calls review = session(WindowKind::Review);
    EXPECT_EQ(review, session(WindowKind::NewWord));
    EXPECT_EQ(review, Calls({"Speed=300", "Pitch=174", "VolumeRight=0", "VolumeLeft=0",
                             "SelectVoice(2)", "SelectVoice(0)", "SelectVoice(1)", "Speed=170",
                             "Speed=170", "Pitch=169", "Pitch=169", "VolumeRight=65535",
                             "VolumeLeft=65535", "VolumeRight=65535", "VolumeLeft=65535"}));
}

TEST(ReadingSettings, AFailingEngineCallEndsTheHandlerAndTheFieldKeepsItsText) {
    FilledGroup group(WindowKind::NewWord);
    group.engine.failing = {"Speed", "VolumeLeft"};

    EXPECT_THROW(group.settings.speed().setText("200"), AppError);
    EXPECT_EQ(group.settings.speed().text(), "200");

    EXPECT_THROW(group.settings.restoreSpeed(), AppError);
    EXPECT_EQ(group.settings.speed().text(), "200"); // the second step never ran

    EXPECT_THROW(group.settings.volume().setText("9"), AppError);
    EXPECT_EQ(group.engine.calls, Calls({"VolumeRight=9"}));
}

} // namespace
} // namespace quorvella
