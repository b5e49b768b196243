#pragma once
// Reads Rich Text Format bytes into a document of paragraphs and formatted runs (no GUI).
// Turning the document into something shown (a QTextDocument) is rich_text_document.h's job.

#include <QString>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quorvella {

struct RtfColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const RtfColor&, const RtfColor&) = default;
};

// The character format of a run. An empty optional or an empty family means "the pane's own".
struct RtfCharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<double> pointSize;
    QString fontFamily;
    std::optional<RtfColor> foreground;
    std::optional<RtfColor> background;

    friend bool operator==(const RtfCharFormat&, const RtfCharFormat&) = default;
};

// Text of one format. A tab is '\t'; a line break inside a paragraph is U+2028.
struct RtfRun {
    QString text;
    RtfCharFormat format;
};

struct RtfParagraph {
    std::vector<RtfRun> runs;

    QString text() const;
};

struct RtfDocument {
    // The paragraphs in order; the empty paragraph after a closing \par is not kept.
    std::vector<RtfParagraph> paragraphs;
    // True when the document's outermost group was closed; false for cut-off input.
    bool complete = false;

    bool hasText() const;
    // The paragraphs' text joined with '\n' (runs' formats dropped).
    QString plainText() const;
};

// Reads bytes that start with "{\rtf" into a document; anything else is not RTF (nullopt).
// Never fails on damaged input: cut-off, unbalanced or binary data gives what was read.
std::optional<RtfDocument> readRtf(std::string_view bytes);

} // namespace quorvella
