#include "core/gbk_codec.h"
#include "core/line_readers.h"
#include "richtext/rich_text_document.h"
namespace quorvella {
void loadRichText(const QString& path, QTextDocument& document) {
    document.setPlainText(decodeGbk(readFileBytes(path)));
}
} // namespace quorvella
