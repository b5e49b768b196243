#include "core/splite.h"

#include "core/byte_text.h"

namespace quorvella {

std::vector<std::string> splite(std::string_view line) {
    std::vector<std::string> fields;
    const auto addField = [&fields](std::string_view field) {
        fields.emplace_back(field.empty() ? std::string_view(" ") : field);
    };
    std::size_t fieldStart = 0;
    for (std::size_t i = 0; i < line.size(); i += characterLength(line, i)) {
        if (line[i] == '@') {
            addField(line.substr(fieldStart, i - fieldStart));
            fieldStart = i + 1;
        }
    }
    if (fieldStart < line.size()) {
        addField(line.substr(fieldStart));
    }
    return fields;
}

} // namespace quorvella
