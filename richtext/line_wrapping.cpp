#include "richtext/line_wrapping.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace quorvella {

qsizetype longestUnbreakableRun(QStringView text) {
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    qsizetype longest = 0;
    qsizetype start = 0;
    for (qsizetype at = breaks.toNextBoundary(); at >= 0; at = breaks.toNextBoundary()) {
        longest = std::max(longest, at - start);
        start = at;
    }
    return std::max(longest, text.size() - start);
}

} // namespace quorvella
