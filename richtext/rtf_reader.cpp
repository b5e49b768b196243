#include "richtext/rtf_reader.h"

#include "core/gbk_codec.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <iterator>
#include <map>
#include <string>

namespace quorvella {

namespace {

// Groups nested deeper than this still open and close, but share the innermost kept state.
constexpr std::size_t kMaxDepth = 512;

constexpr int kGb2312Charset = 134;
constexpr int kDefaultCharset = 1;
constexpr int kNoCharset = -1;
constexpr int kDefaultFont = INT_MIN; // "the document's default font" (\deff)
constexpr int kNoColor = -1;

constexpr char16_t kLineSeparator = u'\u2028';

bool isGbCodePage(int codePage) {
    return codePage == 936 || codePage == 20936 || codePage == 54936;
}

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; its five unassigned bytes stay C1.
QString decodeWindows1252(const std::string& bytes) {
    static constexpr std::array<char16_t, 32> high = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    QString text;
    text.reserve(qsizetype(bytes.size()));
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text += b >= 0x80 && b < 0xA0 ? QChar(high[b - 0x80]) : QChar(b);
    }
    return text;
}

bool isAscii(const std::string& bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

enum class Destination { Text, FontTable, ColorTable, Skipped };

// The character properties that groups save and restore, as the document states them.
struct CharState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool hidden = false; // \v: text kept out of view (field codes, index entries)
    int halfPoints = 0;  // 0: the pane's own size
    int font = kDefaultFont;
    int foreground = kNoColor;
    int background = kNoColor;

    friend bool operator==(const CharState&, const CharState&) = default;
};

struct GroupState {
    CharState chars;
    Destination destination = Destination::Text;
    int unicodeSkip = 1; // \ucN: fallback bytes after each \uN
};

struct FontEntry {
    QString name;
    int charset = kNoCharset;
};

bool isDestinationSkipped(std::string_view word) {
    static constexpr std::string_view skipped[] = {
        "stylesheet", "info",     "pict",    "header",     "headerl",
        "headerr",    "headerf",  "footer",  "footerl",    "footerr",
        "footerf",    "footnote", "ftnsep",  "ftnsepc",    "ftncn",
        "aftnsep",    "aftnsepc", "aftncn",  "nonshppict", "xe",
        "tc",         "txe",      "fldinst", "listtable",  "listoverridetable",
        "revtbl",     "rsidtbl",
    };
    return std::find(std::begin(skipped), std::end(skipped), word) != std::end(skipped);
}

// Control words that stand for one character.
std::optional<char16_t> symbolOfWord(std::string_view word) {
    struct Symbol {
        std::string_view word;
        char16_t character;
    };
    static constexpr Symbol symbols[] = {
        {"tab", u'\t'},           {"cell", u'\t'},          {"nestcell", u'\t'},
        {"line", kLineSeparator}, {"emdash", u'\u2014'},    {"endash", u'\u2013'},
        {"bullet", u'\u2022'},    {"lquote", u'\u2018'},    {"rquote", u'\u2019'},
        {"ldblquote", u'\u201C'}, {"rdblquote", u'\u201D'}, {"emspace", u'\u2003'},
        {"enspace", u'\u2002'},
    };
    for (const Symbol& symbol : symbols) {
        if (symbol.word == word) {
            return symbol.character;
        }
    }
    return std::nullopt;
}

bool isParagraphWord(std::string_view word) {
    return word == "par" || word == "sect" || word == "page" || word == "row" || word == "nestrow";
}

bool isUnderlineWord(std::string_view word) {
    static constexpr std::string_view words[] = {
        "ul", "uld", "uldb", "ulw", "uldash", "uldashd", "uldashdd", "ulth", "ulwave",
    };
    return std::find(std::begin(words), std::end(words), word) != std::end(words);
}

int hexValue(unsigned char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool isLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

class RtfParser {
public:
    explicit RtfParser(std::string_view bytes) : m_bytes(bytes) {}

    RtfDocument run();

private:
    GroupState& top() { return m_stack.back(); }
    unsigned char at(std::size_t pos) const { return static_cast<unsigned char>(m_bytes[pos]); }

    void openGroup();
    bool closeGroup(); // true when the outermost group closed
    void controlWord();
    void controlSymbol(unsigned char symbol);
    void applyWord(std::string_view word, bool hasParameter, int parameter);
    void applyTextWord(std::string_view word, bool hasParameter, int parameter);
    void textByte(char byte);
    void unicodeCharacter(int parameter);
    void appendCharacter(char16_t character);
    void endParagraph();

    void flushBytes();
    void appendText(const QString& text, const CharState& state);
    void finishFontName();
    int resolvedFont(int font) const { return font == kDefaultFont ? m_defaultFont : font; }
    QString decode(const std::string& bytes, int font) const;
    RtfCharFormat formatOf(const CharState& state) const;
    std::optional<RtfColor> colorAt(int index) const;

    std::string_view m_bytes;
    std::size_t m_pos = 0;
    std::vector<GroupState> m_stack;
    std::size_t m_groupsPastLimit = 0;
    int m_fallbackToSkip = 0; // bytes still to pass over after a \uN

    std::optional<int> m_codePage; // as \ansicpg (or \mac, \pc) states it
    int m_defaultFont = kDefaultFont;
    std::map<int, FontEntry> m_fonts;
    int m_fontBeingRead = 0;
    std::string m_fontNameBytes;
    QString m_fontName;
    std::vector<std::optional<RtfColor>> m_colors;
    std::array<int, 3> m_colorParts = {0, 0, 0};
    bool m_colorHasParts = false;

    std::string m_pendingBytes; // text bytes of one state, decoded together
    CharState m_pendingState;
    RtfDocument m_document;
};

RtfDocument RtfParser::run() {
    m_document.paragraphs.emplace_back();
    m_stack.reserve(kMaxDepth);
    m_stack.emplace_back();
    m_pos = 1; // the opening brace of the document is the root group
    while (m_pos < m_bytes.size()) {
        const unsigned char c = at(m_pos++);
        if (c == '{') {
            openGroup();
        } else if (c == '}') {
            if (closeGroup()) {
                m_document.complete = true;
                break;
            }
        } else if (c == '\\') {
            controlWord();
        } else if (c == '\r' || c == '\n') {
            // line breaks of the file are not text
        } else if (m_fallbackToSkip > 0) {
            --m_fallbackToSkip;
        } else {
            textByte(char(c));
        }
    }
    flushBytes();
    if (top().destination == Destination::FontTable) {
        finishFontName();
    }
    if (m_document.paragraphs.back().runs.empty()) {
        m_document.paragraphs.pop_back();
    }
    return std::move(m_document);
}

void RtfParser::openGroup() {
    m_fallbackToSkip = 0;
    if (m_stack.size() >= kMaxDepth) {
        ++m_groupsPastLimit;
        return;
    }
    const GroupState inherited = top();
    m_stack.push_back(inherited);
}

bool RtfParser::closeGroup() {
    m_fallbackToSkip = 0;
    if (m_groupsPastLimit > 0) {
        --m_groupsPastLimit;
        return false;
    }
    if (top().destination == Destination::FontTable) {
        finishFontName();
    }
    m_stack.pop_back();
    if (m_stack.empty()) {
        m_stack.emplace_back(); // keeps top() valid for the end of the run
        return true;
    }
    return false;
}

void RtfParser::controlWord() {
    if (m_pos >= m_bytes.size()) {
        return;
    }
    if (!isLetter(at(m_pos))) {
        controlSymbol(at(m_pos++));
        return;
    }
    const std::size_t start = m_pos;
    while (m_pos < m_bytes.size() && isLetter(at(m_pos))) {
        ++m_pos;
    }
    const std::string_view word = m_bytes.substr(start, m_pos - start);

    bool negative = false;
    if (m_pos + 1 < m_bytes.size() && at(m_pos) == '-' && isDigit(at(m_pos + 1))) {
        negative = true;
        ++m_pos;
    }
    bool hasParameter = false;
    long long value = 0;
    while (m_pos < m_bytes.size() && isDigit(at(m_pos))) {
        hasParameter = true;
        value = std::min<long long>(value * 10 + (at(m_pos) - '0'), 1LL << 40);
        ++m_pos;
    }
    if (m_pos < m_bytes.size() && at(m_pos) == ' ') {
        ++m_pos;
    }
    value = negative ? -value : value;
    const int parameter = int(std::clamp<long long>(value, INT_MIN, INT_MAX));

    if (word == "bin") {
        // Binary data may hold any byte, braces included: pass over it whatever the group.
        const std::size_t length = hasParameter && parameter > 0 ? std::size_t(parameter) : 0;
        m_pos += std::min(length, m_bytes.size() - m_pos);
        if (m_fallbackToSkip > 0) {
            --m_fallbackToSkip;
        }
        return;
    }
    if (m_fallbackToSkip > 0) {
        --m_fallbackToSkip;
        return;
    }
    applyWord(word, hasParameter, parameter);
}

void RtfParser::controlSymbol(unsigned char symbol) {
    if (symbol == '\'') {
        int high = m_pos < m_bytes.size() ? hexValue(at(m_pos)) : -1;
        int low = m_pos + 1 < m_bytes.size() ? hexValue(at(m_pos + 1)) : -1;
        if (high < 0 || low < 0) {
            return;
        }
        m_pos += 2;
        if (m_fallbackToSkip > 0) {
            --m_fallbackToSkip;
            return;
        }
        textByte(char(high * 16 + low));
        return;
    }
    if (m_fallbackToSkip > 0) {
        --m_fallbackToSkip;
        return;
    }
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        textByte(char(symbol));
        break;
    case '~':
        appendCharacter(u'\u00A0');
        break;
    case '_':
        appendCharacter(u'\u2011');
        break;
    case '*':
        top().destination = Destination::Skipped;
        break;
    case '\r':
    case '\n':
        endParagraph();
        break;
    default: // \- (optional hyphen) and the rest are passed over
        break;
    }
}

void RtfParser::applyWord(std::string_view word, bool hasParameter, int parameter) {
    GroupState& group = top();
    switch (group.destination) {
    case Destination::Skipped:
        return;
    case Destination::ColorTable:
        if (word == "red" || word == "green" || word == "blue") {
            const std::size_t part = word == "red" ? 0 : word == "green" ? 1 : 2;
            m_colorParts[part] = std::clamp(parameter, 0, 255);
            m_colorHasParts = true;
        }
        return;
    case Destination::FontTable:
        if (word == "f") {
            finishFontName();
            m_fontBeingRead = parameter;
            m_fonts.try_emplace(m_fontBeingRead);
        } else if (word == "fcharset") {
            m_fonts[m_fontBeingRead].charset = parameter;
        } else if (word == "u") {
            unicodeCharacter(parameter);
        } else if (word == "uc") {
            group.unicodeSkip = std::max(parameter, 0);
        } else if (isDestinationSkipped(word)) {
            group.destination = Destination::Skipped;
        }
        return;
    case Destination::Text:
        applyTextWord(word, hasParameter, parameter);
        return;
    }
}

void RtfParser::applyTextWord(std::string_view word, bool hasParameter, int parameter) {
    GroupState& group = top();
    CharState& chars = group.chars;
    const bool on = !hasParameter || parameter != 0;
    if (word == "fonttbl") {
        flushBytes();
        group.destination = Destination::FontTable;
        m_fontNameBytes.clear();
        m_fontName.clear();
    } else if (word == "colortbl") {
        flushBytes();
        group.destination = Destination::ColorTable;
        m_colors.clear();
        m_colorParts = {0, 0, 0};
        m_colorHasParts = false;
    } else if (isDestinationSkipped(word)) {
        group.destination = Destination::Skipped;
    } else if (isParagraphWord(word)) {
        endParagraph();
    } else if (const auto symbol = symbolOfWord(word)) {
        appendCharacter(*symbol);
    } else if (word == "u") {
        unicodeCharacter(parameter);
    } else if (word == "uc") {
        group.unicodeSkip = std::max(parameter, 0);
    } else if (word == "b") {
        chars.bold = on;
    } else if (word == "i") {
        chars.italic = on;
    } else if (isUnderlineWord(word)) {
        chars.underline = on;
    } else if (word == "ulnone") {
        chars.underline = false;
    } else if (word == "v") {
        chars.hidden = on;
    } else if (word == "fs") {
        const int halfPoints = hasParameter ? parameter : 24;
        if (halfPoints > 0) {
            chars.halfPoints = std::min(halfPoints, 3200);
        }
    } else if (word == "f") {
        chars.font = hasParameter ? parameter : 0;
    } else if (word == "cf") {
        chars.foreground = parameter;
    } else if (word == "cb" || word == "highlight" || word == "chcbpat") {
        chars.background = parameter;
    } else if (word == "plain") {
        chars = CharState{};
    } else if (word == "deff") {
        m_defaultFont = parameter;
    } else if (word == "ansicpg") {
        if (hasParameter && parameter > 0) {
            m_codePage = parameter;
        }
    } else if (word == "mac" || word == "pc" || word == "pca") {
        m_codePage = 1252; // single-byte Western text, read as Windows-1252
    }
    // \pard and every other word: paragraph layout and the like, passed over
}

void RtfParser::textByte(char byte) {
    GroupState& group = top();
    switch (group.destination) {
    case Destination::Skipped:
        return;
    case Destination::ColorTable:
        if (byte == ';') {
            m_colors.push_back(m_colorHasParts
                                   ? std::optional(RtfColor{std::uint8_t(m_colorParts[0]),
                                                            std::uint8_t(m_colorParts[1]),
                                                            std::uint8_t(m_colorParts[2])})
                                   : std::nullopt);
            m_colorParts = {0, 0, 0};
            m_colorHasParts = false;
        }
        return;
    case Destination::FontTable:
        if (byte == ';') {
            finishFontName();
        } else if (static_cast<unsigned char>(byte) >= 0x20) {
            m_fontNameBytes.push_back(byte);
        }
        return;
    case Destination::Text:
        break;
    }
    const auto b = static_cast<unsigned char>(byte);
    if ((b < 0x20 && b != '\t') || group.chars.hidden) {
        return; // control bytes other than tab, and hidden text, are not shown
    }
    if (!m_pendingBytes.empty() && !(m_pendingState == group.chars)) {
        flushBytes();
    }
    if (m_pendingBytes.empty()) {
        m_pendingState = group.chars;
    }
    m_pendingBytes.push_back(byte);
}

void RtfParser::unicodeCharacter(int parameter) {
    // \uN is a signed 16-bit value: -4064 stands for 0xF020.
    const int value = ((parameter % 65536) + 65536) % 65536;
    if (value != 0) {
        if (top().destination == Destination::FontTable) {
            m_fontName += decode(m_fontNameBytes, m_fontBeingRead);
            m_fontNameBytes.clear();
            m_fontName += QChar(char16_t(value));
        } else {
            appendCharacter(char16_t(value));
        }
    }
    m_fallbackToSkip = top().unicodeSkip;
}

void RtfParser::appendCharacter(char16_t character) {
    if (top().destination != Destination::Text || top().chars.hidden) {
        return;
    }
    flushBytes();
    appendText(QString(QChar(character)), top().chars);
}

void RtfParser::endParagraph() {
    if (top().destination != Destination::Text) {
        return;
    }
    flushBytes();
    m_document.paragraphs.emplace_back();
}

void RtfParser::flushBytes() {
    if (m_pendingBytes.empty()) {
        return;
    }
    appendText(decode(m_pendingBytes, resolvedFont(m_pendingState.font)), m_pendingState);
    m_pendingBytes.clear();
}

void RtfParser::appendText(const QString& text, const CharState& state) {
    if (text.isEmpty()) {
        return;
    }
    RtfCharFormat format = formatOf(state);
    std::vector<RtfRun>& runs = m_document.paragraphs.back().runs;
    if (!runs.empty() && runs.back().format == format) {
        runs.back().text += text;
    } else {
        runs.push_back(RtfRun{text, std::move(format)});
    }
}

void RtfParser::finishFontName() {
    QString name = m_fontName + decode(m_fontNameBytes, m_fontBeingRead);
    m_fontNameBytes.clear();
    m_fontName.clear();
    name = name.trimmed();
    if (!name.isEmpty()) {
        m_fonts[m_fontBeingRead].name = name;
    }
}

// Bytes of a GB2312 font (\fcharset134) are GB18030; other bytes are read in the document's
// code page: GB18030 for 936, Windows-1252 for any other. A document that states no code page
// was written on a Chinese system, whose code page is 936, unless the font states a Western
// (or any other) character set.
QString RtfParser::decode(const std::string& bytes, int font) const {
    if (isAscii(bytes)) {
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    }
    const auto entry = m_fonts.find(font);
    const int charset = entry == m_fonts.end() ? kNoCharset : entry->second.charset;
    bool gb = false;
    if (charset == kGb2312Charset) {
        gb = true;
    } else if (m_codePage) {
        gb = isGbCodePage(*m_codePage);
    } else {
        gb = charset == kNoCharset || charset == kDefaultCharset;
    }
    return gb ? decodeGbk(bytes) : decodeWindows1252(bytes);
}

std::optional<RtfColor> RtfParser::colorAt(int index) const {
    if (index < 0 || std::size_t(index) >= m_colors.size()) {
        return std::nullopt;
    }
    return m_colors[std::size_t(index)];
}

RtfCharFormat RtfParser::formatOf(const CharState& state) const {
    RtfCharFormat format;
    format.bold = state.bold;
    format.italic = state.italic;
    format.underline = state.underline;
    if (state.halfPoints > 0) {
        format.pointSize = state.halfPoints / 2.0;
    }
    const auto entry = m_fonts.find(resolvedFont(state.font));
    if (entry != m_fonts.end()) {
        format.fontFamily = entry->second.name;
    }
    format.foreground = colorAt(state.foreground);
    format.background = colorAt(state.background);
    return format;
}

} // namespace

QString RtfParagraph::text() const {
    QString text;
    for (const RtfRun& run : runs) {
        text += run.text;
    }
    return text;
}

bool RtfDocument::hasText() const {
    return std::any_of(paragraphs.begin(), paragraphs.end(),
                       [](const RtfParagraph& paragraph) { return !paragraph.runs.empty(); });
}

QString RtfDocument::plainText() const {
    QStringList lines;
    for (const RtfParagraph& paragraph : paragraphs) {
        lines << paragraph.text();
    }
    return lines.join(QLatin1Char('\n'));
}

std::optional<RtfDocument> readRtf(std::string_view bytes) {
    if (!bytes.starts_with("{\\rtf")) {
        return std::nullopt;
    }
    return RtfParser(bytes).run();
}

} // namespace quorvella
