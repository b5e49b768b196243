#include "tools/sample_course.h"

#include "core/app_error.h"
#include "core/byte_text.h"
#include "core/data_folder.h"
#include "core/gbk_codec.h"
#include "core/line_readers.h"
#include "lessons/lesson_study.h"
#include "lessons/tedstr.h"
#include "tools/lesson_file.h"
#include "vocabulary/word_bank_browser.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <set>
#include <string_view>

namespace quorvella {

namespace {

constexpr std::uint16_t kLessonKey = LessonStudy::kLessonKey;
constexpr std::uint16_t kTranslationKey = LessonStudy::kTranslationKey;
constexpr std::string_view kCrLf = "\r\n";

// A line of a source file, UTF-8, without its line break, and where it came from.
struct SourceLine {
    QString file;
    int number = 0;
    std::string text;
};

[[noreturn]] void fail(const SourceLine& line, const std::string& what) {
    throw SourceError(line.file.toStdString() + ':' + std::to_string(line.number) + ": " + what);
}

[[noreturn]] void failFile(const QString& file, const std::string& what) {
    throw SourceError(file.toStdString() + ": " + what);
}

std::string gbk(std::string_view utf8) {
    return encodeGbk(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

std::string_view trimmedRight(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) {
        text.remove_suffix(1);
    }
    return text;
}

bool isBlank(std::string_view text) {
    return trimmed(text).empty();
}

// The source files, read from one folder.
class Sources {
public:
    explicit Sources(const QString& folder) : m_folder(QDir::cleanPath(folder)) {}

    QString path(const QString& relative) const { return m_folder + QLatin1Char('/') + relative; }

    bool exists(const QString& relative) const { return QFileInfo::exists(path(relative)); }

    // Every line of the file, checked to be UTF-8; a break at the very end adds no line.
    std::vector<SourceLine> lines(const QString& relative) const {
        const QString file = path(relative);
        if (!QFileInfo(file).isFile()) {
            failFile(file, "no such file");
        }
        std::string bytes = readFileBytes(file);
        if (bytes.starts_with("\xEF\xBB\xBF")) {
            bytes.erase(0, 3);
        }
        std::vector<SourceLine> result;
        std::size_t start = 0;
        while (start < bytes.size()) {
            std::size_t end = bytes.find('\n', start);
            if (end == std::string::npos) {
                end = bytes.size();
            }
            std::string_view text(bytes.data() + start, end - start);
            if (text.ends_with('\r')) {
                text.remove_suffix(1);
            }
            SourceLine line{file, int(result.size()) + 1, std::string(text)};
            QStringDecoder utf8(QStringDecoder::Utf8);
            const QString decoded = // the decoder runs when its result is taken
                utf8.decode(QByteArrayView(text.data(), qsizetype(text.size())));
            if (utf8.hasError()) {
                fail(line, "not valid UTF-8");
            }
            if (text.find('\0') != std::string_view::npos) {
                fail(line, "a 0 byte, which ends the text where the program reads it");
            }
            result.push_back(std::move(line));
            start = end + 1;
        }
        return result;
    }

    // The lines of a list: trimmed, blank lines left out.
    std::vector<SourceLine> listLines(const QString& relative) const {
        std::vector<SourceLine> result;
        for (SourceLine& line : lines(relative)) {
            if (!isBlank(line.text)) {
                line.text = std::string(trimmed(line.text));
                result.push_back(std::move(line));
            }
        }
        return result;
    }

    // The list in whole, or else its two halves, a then b.
    std::vector<SourceLine> listLinesInHalves(const QString& whole, const QString& a,
                                              const QString& b) const {
        if (exists(whole)) {
            return listLines(whole);
        }
        if (!exists(a) && !exists(b)) {
            failFile(path(whole), "no such file (nor its halves " + a.toStdString() + " and " +
                                      b.toStdString() + ")");
        }
        std::vector<SourceLine> result = listLines(a);
        for (SourceLine& line : listLines(b)) {
            result.push_back(std::move(line));
        }
        return result;
    }

    // Numbers n of the files in folder whose names match pattern (n in its first capture).
    std::set<int> numbered(const QString& folder, const QString& pattern) const {
        std::set<int> numbers;
        const QRegularExpression name(QStringLiteral("^%1$").arg(pattern));
        for (const QString& entry : QDir(path(folder)).entryList(QDir::Files)) {
            const QRegularExpressionMatch match = name.match(entry);
            if (match.hasMatch()) {
                numbers.insert(match.captured(1).toInt());
            }
        }
        return numbers;
    }

private:
    QString m_folder;
};

// The "@"-separated fields of a source line, every "@" separating (a trailing one too), checked
// against the number the format has.
std::vector<std::string_view> fields(const SourceLine& line, std::size_t expected,
                                     const char* format) {
    std::vector<std::string_view> result;
    std::string_view rest = line.text;
    for (;;) {
        const std::size_t at = rest.find('@');
        result.push_back(rest.substr(0, at));
        if (at == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(at + 1);
    }
    if (result.size() != expected) {
        fail(line, std::to_string(result.size()) + " fields where " + format + " has " +
                       std::to_string(expected) + " (a field cannot hold \"@\")");
    }
    return result;
}

void requireWord(const SourceLine& line, std::string_view word) {
    if (isBlank(word)) {
        fail(line, "the word is empty");
    }
}

std::string crlfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += kCrLf;
    }
    return text;
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// A lesson or translation source: its lines as GBK bytes, right-trimmed, blank lines at the end
// left out.
std::vector<std::string> lessonLines(const Sources& sources, const QString& relative) {
    std::vector<std::string> lines;
    for (const SourceLine& line : sources.lines(relative)) {
        lines.push_back(gbk(trimmedRight(line.text)));
    }
    while (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    if (lines.empty()) {
        failFile(sources.path(relative), "the file is empty");
    }
    return lines;
}

std::string joinedCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += i > 0 ? kCrLf : "";
        text += lines[i];
    }
    return text;
}

// A text file converted whole. In RTF a character whose GB18030 bytes hold "\", "{" or "}" (a
// trail byte may) is written as \'hh escapes, so that its bytes cannot be read as control words
// or groups.
std::string convertedText(const Sources& sources, const QString& relative, bool rtf) {
    std::string text;
    for (const SourceLine& line : sources.lines(relative)) {
        const QString characters = QString::fromUtf8(line.text);
        for (qsizetype i = 0; i < characters.size();) {
            const qsizetype length = characters[i].isHighSurrogate() ? 2 : 1;
            const std::string bytes = encodeGbk(QStringView(characters).mid(i, length));
            i += length;
            if (rtf && bytes.size() > 1 && bytes.find_first_of("\\{}") != std::string::npos) {
                static constexpr char kHex[] = "0123456789abcdef";
                for (const char byte : bytes) {
                    const auto value = static_cast<unsigned char>(byte);
                    text += "\\'";
                    text += kHex[value >> 4];
                    text += kHex[value & 0xF];
                }
            } else {
                text += bytes;
            }
        }
        text += kCrLf;
    }
    return text;
}

struct Lessons {
    int count = 0;
    std::vector<InstallationFile> files;
    std::vector<std::string> catalogue;
};

Lessons makeLessons(const Sources& sources) {
    const std::set<int> numbers =
        sources.numbered(QStringLiteral("lessons"), QStringLiteral("(\\d{2,})\\.(en|zh)\\.txt"));
    Lessons lessons;
    lessons.count = numbers.empty() ? 1 : std::max(1, *numbers.rbegin());
    for (int n = 1; n <= lessons.count; ++n) {
        const QString stem = QStringLiteral("lessons/") + twoDigits(n);
        const QString index = QString::number(n - 1);

        const std::vector<std::string> text =
            lessonLines(sources, stem + QStringLiteral(".en.txt"));
        const std::string title(trimmed(text.front()));
        if (title.empty()) {
            fail({sources.path(stem + QStringLiteral(".en.txt")), 1, {}}, "the title is empty");
        }
        lessons.catalogue.push_back("Lesson " + std::to_string(n) + "  " + title);
        try {
            lessons.files.push_back(
                {QStringLiteral("text/%1.txt").arg(index), makeLessonFile(text, kLessonKey).bytes});
        } catch (const std::exception& error) {
            failFile(sources.path(stem + QStringLiteral(".en.txt")), error.what());
        }

        // The translation pane decodes the file's text as the pane holds it: with no break
        // after the encoded text, nothing follows the translation.
        const std::vector<std::string> translation =
            lessonLines(sources, stem + QStringLiteral(".zh.txt"));
        lessons.files.push_back({QStringLiteral("cn/%1.txt").arg(index),
                                 tedstr::encode(joinedCrLf(translation), kTranslationKey)});
    }
    return lessons;
}

std::vector<InstallationFile> makeWordLists(const Sources& sources, int lessonCount) {
    std::vector<InstallationFile> files;
    std::vector<std::string> titles;
    for (const SourceLine& line : sources.listLinesInHalves(QStringLiteral("words/groups.txt"),
                                                            QStringLiteral("words/groups-a.txt"),
                                                            QStringLiteral("words/groups-b.txt"))) {
        titles.push_back(gbk(line.text));
    }
    files.push_back({QStringLiteral("ti.txt"), crlfLines(titles)});

    const std::set<int> lists =
        sources.numbered(QStringLiteral("words"), QStringLiteral("(\\d{2,})\\.txt"));
    if (!lists.empty() && *lists.rbegin() > lessonCount) {
        failFile(sources.path(QStringLiteral("words/%1.txt").arg(twoDigits(*lists.rbegin()))),
                 "there is no lesson " + std::to_string(*lists.rbegin()));
    }
    std::vector<std::string> byLesson;
    struct Word {
        std::string key; // the word in small letters
        std::string line;
    };
    std::vector<Word> byLetter;
    for (int n = 1; n <= lessonCount; ++n) {
        const QString relative = QStringLiteral("words/%1.txt").arg(twoDigits(n));
        for (const SourceLine& line : sources.listLines(relative)) {
            const auto parts = fields(line, 3, "word@phonetic@meaning");
            requireWord(line, parts[0]);
            const std::string record = gbk(line.text);
            byLesson.push_back(record + '@' + std::to_string(n - 1));
            const char first = line.text.front();
            if (first >= 'a' && first <= 'z') {
                byLetter.push_back({lowerAscii(gbk(parts[0])), record});
            }
        }
    }
    std::stable_sort(byLetter.begin(), byLetter.end(),
                     [](const Word& a, const Word& b) { return a.key < b.key; });
    // A word that is new in two lessons is listed once by letter: the first lesson's line.
    std::vector<std::string> alphabetical;
    const std::string* previous = nullptr;
    for (const Word& word : byLetter) {
        if (previous == nullptr || *previous != word.key) {
            alphabetical.push_back(word.line);
        }
        previous = &word.key;
    }
    // The letter groups are the initials that words have: a letter without words would list
    // nothing.
    std::vector<std::string> letters;
    for (const Word& word : byLetter) {
        const std::string capital(1, char(word.key.front() - 'a' + 'A'));
        if (letters.empty() || letters.back() != capital) {
            letters.push_back(capital);
        }
    }
    files.push_back({QStringLiteral("ai.txt"), crlfLines(letters)});
    files.push_back({QStringLiteral("dat/kwdc1.txt"), crlfLines(byLesson)});
    files.push_back({QStringLiteral("dat/kwdc2.txt"), crlfLines(alphabetical)});

    std::vector<std::string> details;
    for (const SourceLine& line : sources.listLinesInHalves(
             QStringLiteral("words/details.txt"), QStringLiteral("words/details-a.txt"),
             QStringLiteral("words/details-b.txt"))) {
        fields(line, 6, "mnemonic@same-form@synonyms@antonyms@sentence@Chinese sentence");
        details.push_back(gbk(line.text));
    }
    files.push_back({QStringLiteral("dat/bookw.txt"), crlfLines(details)});
    return files;
}

// A bank sorted by the word in small letters (the letter-range listing stops at the first word
// past its range), a word that comes again left out.
std::string makeBank(const Sources& sources, const QString& relative) {
    struct Entry {
        std::string key;
        std::string line;
    };
    std::vector<Entry> entries;
    std::set<std::string> seen;
    for (const SourceLine& line : sources.listLines(relative)) {
        const auto parts = fields(line, 2, "word@meaning");
        requireWord(line, parts[0]);
        const std::string word = gbk(parts[0]);
        if (seen.insert(word).second) {
            entries.push_back({lowerAscii(word), gbk(line.text)});
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.key < b.key; });
    std::vector<std::string> lines;
    for (const Entry& entry : entries) {
        lines.push_back(entry.line);
    }
    return crlfLines(lines);
}

std::string makeQuestions(const Sources& sources) {
    std::vector<std::string> lines;
    for (const SourceLine& line : sources.listLines(QStringLiteral("questions/tk.txt"))) {
        const auto parts = fields(line, 7, "question@A@B@C@D@answer@explanation");
        if (parts[5] != "A" && parts[5] != "B" && parts[5] != "C" && parts[5] != "D") {
            fail(line, "the answer is \"" + std::string(parts[5]) + "\", not A, B, C or D");
        }
        lines.push_back(gbk(line.text));
    }
    return crlfLines(lines);
}

std::vector<InstallationFile> makeAnswers(const Sources& sources) {
    const QString folder = QStringLiteral("answers");
    const QString pattern = QStringLiteral("(0|[1-9]\\d*)\\.%1");
    const std::set<int> plain = sources.numbered(folder, pattern.arg(QStringLiteral("txt")));
    const std::set<int> rtf = sources.numbered(folder, pattern.arg(QStringLiteral("rtf")));
    if (plain.empty() && rtf.empty()) {
        failFile(sources.path(QStringLiteral("answers/0.txt")), "no such file");
    }
    std::vector<InstallationFile> files;
    for (const int unit : plain) {
        if (rtf.count(unit) > 0) {
            failFile(sources.path(QStringLiteral("answers/%1.rtf").arg(unit)),
                     "unit " + std::to_string(unit) + " has a .txt answer file as well");
        }
        files.push_back(
            {QStringLiteral("textkey/%1.txt").arg(unit),
             convertedText(sources, QStringLiteral("answers/%1.txt").arg(unit), false)});
    }
    for (const int unit : rtf) {
        files.push_back({QStringLiteral("textkey/%1.txt").arg(unit),
                         convertedText(sources, QStringLiteral("answers/%1.rtf").arg(unit), true)});
    }
    return files;
}

} // namespace

QString sampleSourceBeside(const QString& programFolder) {
    return QDir::cleanPath(programFolder + QStringLiteral("/../share/quorvella/sample"));
}

QString defaultSampleSource() {
    return sampleSourceBeside(applicationFolder());
}

std::vector<InstallationFile> makeSampleCourse(const QString& sourceFolder) {
    const Sources sources(sourceFolder);
    std::vector<InstallationFile> files;

    Lessons lessons = makeLessons(sources);
    files.push_back({QStringLiteral("textindex.txt"), crlfLines(lessons.catalogue)});
    std::move(lessons.files.begin(), lessons.files.end(), std::back_inserter(files));

    for (InstallationFile& file : makeWordLists(sources, lessons.count)) {
        files.push_back(std::move(file));
    }

    // Each bank's source is "banks/<its file's name without the extension>.txt".
    for (const WordBank& bank : wordBanks()) {
        const QString stem = bank.file.left(bank.file.lastIndexOf(QLatin1Char('.')));
        files.push_back({QStringLiteral("dat/") + bank.file,
                         makeBank(sources, QStringLiteral("banks/%1.txt").arg(stem))});
    }

    files.push_back({QStringLiteral("dat/tk.txt"), makeQuestions(sources)});
    files.push_back({QStringLiteral("abc/grammar.htm"),
                     convertedText(sources, QStringLiteral("pages/grammar.htm"), false)});
    files.push_back({QStringLiteral("help/help.htm"),
                     convertedText(sources, QStringLiteral("pages/help.htm"), false)});
    for (InstallationFile& file : makeAnswers(sources)) {
        files.push_back(std::move(file));
    }
    return files;
}

void writeInstallation(const std::vector<InstallationFile>& files, const QString& folder) {
    const QDir root(folder);
    for (const InstallationFile& file : files) {
        const QString path = root.filePath(file.path);
        if (!QDir().mkpath(QFileInfo(path).path())) {
            throw AppError(QStringLiteral("Cannot create the folder of \"%1\".").arg(path));
        }
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(file.bytes.data(), qint64(file.bytes.size())) != qint64(file.bytes.size()) ||
            !out.commit()) {
            throw AppError(
                QStringLiteral("Cannot write file \"%1\". %2").arg(path, out.errorString()));
        }
    }
}

} // namespace quorvella
