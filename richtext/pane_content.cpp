#include "richtext/pane_content.h"

#include "core/app_error.h"
#include "core/byte_text.h"
#include "core/gbk_codec.h"

namespace quorvella {

QString plainPaneText(std::string_view bytes) {
    bytes = upToFirstZero(bytes);
    QString text = decodeGbk(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

PaneContent readPaneContent(std::string_view bytes) {
    PaneContent content;
    if (auto rtf = readRtf(bytes); rtf && (rtf->complete || rtf->hasText())) {
        content.rtf = std::move(rtf);
        return content;
    }
    content.plainText = plainPaneText(bytes);
    if (content.plainText.isEmpty() && !bytes.empty()) {
        throw AppError(QStringLiteral("Failed to Load Stream"));
    }
    return content;
}

} // namespace quorvella
