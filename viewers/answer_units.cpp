#include "viewers/answer_units.h"

namespace quorvella {

namespace {

// Chinese numerals 1 to 25 as they are written in unit titles.
QString chineseNumber(int n) {
    static const QString digits = QStringLiteral(u"一二三四五六七八九");
    if (n < 10) {
        return digits.at(n - 1);
    }
    const QString tens = n < 20 ? QString() : QString(digits.at(n / 10 - 1));
    const QString units = n % 10 == 0 ? QString() : QString(digits.at(n % 10 - 1));
    return tens + QStringLiteral(u"十") + units;
}

QStringList makeTitles() {
    QStringList titles;
    for (int unit = 1; unit <= 25; ++unit) {
        titles << QStringLiteral(u"上册第%1单元答案").arg(chineseNumber(unit));
    }
    for (int unit = 1; unit <= 15; ++unit) {
        titles << QStringLiteral(u"下册第%1单元答案").arg(chineseNumber(unit));
    }
    return titles;
}

} // namespace

const QStringList& AnswerUnits::titles() {
    static const QStringList titles = makeTitles();
    return titles;
}

std::optional<QString> AnswerUnits::filePath(const DataFolder& folder, int position) {
    if (position < 0) {
        return std::nullopt;
    }
    return folder.path(QStringLiteral("textkey/%1.txt").arg(position));
}

} // namespace quorvella
