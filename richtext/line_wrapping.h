#pragma once
// How a pane should wrap the text it is about to show. Qt lays out a run of characters with no
// place to break a line in a time that grows with the square of the run's length (minutes for a
// megabyte, the program frozen meanwhile); text holding such a run is to be wrapped anywhere,
// which Qt lays out in linear time. Ordinary text keeps word wrapping. Setting a pane's wrapping
// is left to rich_text_document.h.

#include <QStringView>

namespace quorvella {

// Runs up to this many characters are wrapped at word boundaries, as usual: their layout stays
// quick, and no word of a real text comes near.
inline constexpr qsizetype kLongestWordWrappedRun = 1000;

// The number of characters of the longest run between two places where a line may break.
qsizetype longestUnbreakableRun(QStringView text);

// True when text holds a run longer than kLongestWordWrappedRun: it is to be wrapped anywhere.
inline bool wrapsAnywhere(QStringView text) {
    return longestUnbreakableRun(text) > kLongestWordWrappedRun;
}

} // namespace quorvella
