#pragma once
// Decodes the bytes of a local HTML page: in the encoding of its byte order mark, as UTF-8 when
// a meta tag declares it, otherwise as GB18030. Finding and showing pages is page_browser.h's.

#include <QString>

#include <string_view>

namespace quorvella {

// True when a <meta> tag of the page declares the charset UTF-8 (<meta charset="utf-8"> or
// http-equiv's content="text/html; charset=utf-8"); the first meta tag naming a charset decides.
bool declaresUtf8(std::string_view html);

QString decodeHtmlPage(std::string_view html);

} // namespace quorvella
