// The decoding of a local HTML page's bytes (grammar and help pages): any bytes, with or without
// a byte order mark or a charset declaration.

#include "fuzz/fuzz_input.h"
#include "richtext/html_page_text.h"

using namespace quorvella;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::bytesOf(data, size);
    declaresUtf8(input);
    decodeHtmlPage(input);
    return 0;
}
