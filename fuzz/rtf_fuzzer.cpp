// The RTF reader and the choice between RTF and plain text that every pane makes: any bytes give
// a document or plain text, or the one error "Failed to Load Stream".

#include "core/app_error.h"
#include "fuzz/fuzz_input.h"
#include "richtext/pane_content.h"
#include "richtext/rtf_reader.h"

using namespace quorvella;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::bytesOf(data, size);
    if (const std::optional<RtfDocument> rtf = readRtf(input)) {
        rtf->plainText();
        rtf->hasText();
    }
    try {
        const PaneContent content = readPaneContent(input);
        if (content.rtf) {
            fuzz::check(content.rtf->complete || content.rtf->hasText());
        }
    } catch (const AppError& error) {
        fuzz::check(error.text() == QStringLiteral("Failed to Load Stream"));
    }
    plainPaneText(input);
    return 0;
}
