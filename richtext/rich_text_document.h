#pragma once
#include <QTextDocument>
namespace quorvella {
void loadRichText(const QString& path, QTextDocument& document);
}
