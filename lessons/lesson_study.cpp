#include "lessons/lesson_study.h"

#include "core/byte_text.h"
#include "core/line_readers.h"
#include "lessons/tedstr.h"

namespace quorvella {

namespace {

bool beginsWithFourBlanks(std::string_view line) {
    return line.size() >= 4 && line.substr(0, 4) == "    ";
}

// Blanks among the first t bytes of the untrimmed line, t being its trimmed length.
long long blanksOf(std::string_view line) {
    const std::size_t t = trimmed(line).size();
    long long blanks = 0;
    for (std::size_t i = 0; i < t; ++i) {
        blanks += line[i] == ' ' ? 1 : 0;
    }
    return blanks;
}

} // namespace

LessonCounts lessoncounts(const std::vector<std::string>& paneLines) {
    LessonCounts counts;
    long long fourBlanks = 0;
    for (const std::string& line : paneLines) {
        counts.bytes += static_cast<long long>(line.size()) + 2;
        fourBlanks += beginsWithFourBlanks(line) ? 1 : 0;
    }
    counts.paragraphs = fourBlanks - 1;
    counts.words = wordcount(paneLines);
    return counts;
}

long long wordcount(const std::vector<std::string>& paneLines) {
    long long blanks = 0;
    for (const std::string& line : paneLines) {
        blanks += blanksOf(line);
    }
    return static_cast<long long>(paneLines.size()) + blanks - 1;
}

std::string uncodeLessonFile(std::string_view fileBytes, std::uint16_t key) {
    std::string encoded;
    for (const std::string& line : splitLines(fileBytes)) {
        encoded += line;
        encoded += "\r\n";
    }
    return tedstr::decode(encoded, key);
}

std::string uncodeTranslationFile(std::string_view fileBytes, std::uint16_t key) {
    const std::string_view text = upToFirstZero(fileBytes);
    std::string paneText;
    paneText.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            paneText += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            paneText += text[i];
        }
    }
    return tedstr::decode(paneText, key);
}

LessonStudy::LessonStudy(DataFolder folder, SpeechEngine& engine)
    : m_folder(std::move(folder)), m_engine(engine) {}

void LessonStudy::readCatalogue() {
    m_catalogue = readFileLines(m_folder.path(u"textindex.txt"));
}

std::string LessonStudy::uncode(int n) const {
    return uncodeLessonFile(readFileBytes(m_folder.path(QStringLiteral("text/%1.txt").arg(n))),
                            kLessonKey);
}

std::string LessonStudy::translation(int n) const {
    return uncodeTranslationFile(readFileBytes(m_folder.path(QStringLiteral("cn/%1.txt").arg(n))),
                                 kTranslationKey);
}

void LessonStudy::load(int position, LessonPanes& panes) {
    if (position < 0 || position >= static_cast<int>(m_catalogue.size())) {
        return;
    }
    m_engine.StopSpeech();
    panes.setTitle(m_catalogue[std::size_t(position)]);
    panes.clearLesson();
    panes.setLesson(std::string(upToFirstZero(uncode(position))));
    panes.setCounts(lessoncounts(panes.lessonPaneLines()));
    panes.setTranslation(std::string(upToFirstZero(translation(position))));
}

} // namespace quorvella
