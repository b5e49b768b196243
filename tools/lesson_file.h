#pragma once
// The lesson file form: a lesson's plain text, padded so that the lesson window, which decodes
// the file's line with a CR LF after it, stops exactly at the lesson's end. The codec is tedstr's.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvella {

// The lesson window reads a lesson file as lines, joins them with CR LF after every line and
// decodes the whole; the CR LF after the one encoded line decodes into one or two bytes past the
// text, and the pane stops at the first 0 byte. A lesson file is clean when the first of those
// bytes decodes to 0.
//
// Padding that keeps the counts: a final CR LF leaves an empty last line, which counts as
// nothing; a blank at the end of a line adds one byte to the byte count and changes neither the
// words (only the bytes up to the line's trimmed length are examined) nor the paragraphs. So the
// candidates are: k blanks spread over the ends of the lines (k = 0, 1, 2, ...; every way of
// spreading them, the last line first), each with no final break and then with a final CR LF.
// The first clean one is taken; k is what it costs the byte count.
struct LessonFile {
    std::string bytes;      // the file: the encoded text, one line, ending with CR LF
    std::string plain;      // the padded plain text that the file decodes to
    std::size_t blanks = 0; // blanks added at line ends
    bool finalBreak = false;
};

// lines: the lesson's lines as bytes, without their breaks; they are joined with CR LF, the last
// without a break, before padding. No lines at all count as one empty line.
LessonFile makeLessonFile(const std::vector<std::string>& lines, std::uint16_t key);

// The text that the lesson window shows for a lesson file: the file's lines, each followed by
// CR LF, decoded with key, up to the first 0 byte.
std::string lessonPaneText(std::string_view fileBytes, std::uint16_t key);

} // namespace quorvella
