#pragma once
// The lesson window's study of a lesson: the catalogue, loading a lesson and its translation in
// their fixed order, and the byte, word and paragraph counts. Laying text out in panes and showing
// it are left to the window, through LessonPanes.

#include "core/data_folder.h"
#include "speech/speech_engine.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvella {

// The counts of a lesson, shown as decimal text (negative results included).
struct LessonCounts {
    long long bytes = 0;
    long long words = 0;
    long long paragraphs = 0;

    bool operator==(const LessonCounts&) const = default;
};

// Bytes: the pane lines joined with CR LF after each. Paragraphs: lines that begin with four
// blanks, minus one. Words: the number of lines, plus the blanks among the first t bytes of each
// line (t its length once bytes up to 32 are trimmed from both ends), minus one.
LessonCounts lessoncounts(const std::vector<std::string>& paneLines);

// The words count alone, as the window's own step computes it.
long long wordcount(const std::vector<std::string>& paneLines);

// A lesson file's bytes as the lesson window decodes them: the file's lines, each followed by
// CR LF, decoded with key (the 0 byte that ends the shown text included).
std::string uncodeLessonFile(std::string_view fileBytes, std::uint16_t key);

// A translation file's bytes as the lesson window decodes them: the file's text as a plain-text
// pane holds it (up to a 0 byte, every line break as CR LF), decoded with key.
std::string uncodeTranslationFile(std::string_view fileBytes, std::uint16_t key);

// What the lesson window does for a load: all texts are GBK bytes.
class LessonPanes {
public:
    virtual ~LessonPanes() = default;
    virtual void setTitle(const std::string& title) = 0;
    virtual void clearLesson() = 0;
    virtual void setLesson(const std::string& text) = 0;
    // The lesson pane's lines as it lays them out at its width, without line breaks; a last
    // empty line is not one.
    virtual std::vector<std::string> lessonPaneLines() const = 0;
    virtual void setCounts(const LessonCounts& counts) = 0;
    virtual void setTranslation(const std::string& text) = 0;
};

class LessonStudy final {
public:
    static constexpr std::uint16_t kLessonKey = 33965;
    static constexpr std::uint16_t kTranslationKey = 40353;

    LessonStudy(DataFolder folder, SpeechEngine& engine);

    // Reads "textindex.txt" as lines: every line is an entry, an empty one included. On an error
    // the catalogue stays as it was.
    void readCatalogue();
    const std::vector<std::string>& catalogue() const { return m_catalogue; }

    // Lesson n's text: "text/<n>.txt" read as lines, joined with CR LF after every line, decoded
    // with the lesson key.
    std::string uncode(int n) const;

    // Loads the catalogue entry at position: stops the speech, shows the title, clears the pane,
    // shows the decoded lesson (up to its first 0 byte), counts its pane lines, then decodes the
    // translation into its pane. An error ends the load where it happens; what was done stays
    // done. Nothing happens for a position outside the catalogue (no entry selected).
    void load(int position, LessonPanes& panes);

private:
    std::string translation(int n) const;

    DataFolder m_folder;
    SpeechEngine& m_engine;
    std::vector<std::string> m_catalogue;
};

} // namespace quorvella
