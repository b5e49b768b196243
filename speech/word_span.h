#pragma once
// Where a word lies in the text given to the speech engine, and where its sound starts in a
// stream of audio. Finding the words is the synthesisers'; following them is the queue's.

#include <QtGlobal>

namespace quorvella {

// A word of a text: its first UTF-16 unit and its length in units.
struct WordSpan {
    qsizetype offset = 0;
    qsizetype length = 0;

    bool operator==(const WordSpan&) const = default;
};

// A word whose sound starts at sample (or frame) number at of the audio that carries the mark.
struct WordMark {
    qint64 at = 0;
    WordSpan word;

    bool operator==(const WordMark&) const = default;
};

} // namespace quorvella
