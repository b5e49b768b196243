#pragma once
// The answers of the course's 40 units: their list titles, in order, and the file of each.
// Loading and showing a file is left to the answers window.

#include "core/data_folder.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace quorvella {

class AnswerUnits final {
public:
    // "上册第一单元答案" … "上册第二十五单元答案", then "下册第一单元答案" … "下册第十五单元答案".
    static const QStringList& titles();

    // The answer file of the unit at position (from 0): "textkey/<position>.txt" in folder; none
    // when no unit is selected (position -1).
    static std::optional<QString> filePath(const DataFolder& folder, int position);
};

} // namespace quorvella
