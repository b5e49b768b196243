// The lesson catalogue "textindex.txt" and loading its lessons: the input's parts are the
// catalogue, lesson 0's text file and its translation file. The first entries are loaded; those
// past the first have no files, so their loads end in the error of a missing file.

#include "core/app_error.h"
#include "core/line_readers.h"
#include "fuzz/fuzz_input.h"
#include "lessons/lesson_study.h"
#include "tests/support/fake_speech_engine.h"

using namespace quorvella;

namespace {

class Panes final : public LessonPanes {
public:
    void setTitle(const std::string& title) override { m_title = title; }
    void clearLesson() override { m_lesson.clear(); }
    void setLesson(const std::string& text) override { m_lesson = text; }
    std::vector<std::string> lessonPaneLines() const override { return splitLines(m_lesson); }
    void setCounts(const LessonCounts& counts) override { m_counts = counts; }
    void setTranslation(const std::string& text) override { m_translation = text; }

private:
    std::string m_title;
    std::string m_lesson;
    LessonCounts m_counts;
    std::string m_translation;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFolder scratch;
    const std::vector<std::string_view> files = fuzz::parts(fuzz::bytesOf(data, size), 3);
    scratch.write(QStringLiteral("textindex.txt"), files[0]);
    scratch.write(QStringLiteral("text/0.txt"), files[1]);
    scratch.write(QStringLiteral("cn/0.txt"), files[2]);

    FakeSpeechEngine engine;
    LessonStudy study(scratch.folder(), engine);
    study.readCatalogue();
    fuzz::check(study.catalogue() == splitLines(files[0]));
    Panes panes;
    const int entries = int(std::min<std::size_t>(study.catalogue().size(), 3));
    for (int position = -1; position <= entries; ++position) {
        try {
            study.load(position, panes);
            fuzz::check(position <= 0 || position >= entries);
        } catch (const AppError&) {
            fuzz::check(position > 0);
        }
    }
    return 0;
}
