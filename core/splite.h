#pragma once
// Splits an "@"-separated data line into its fields; what the fields mean, and the record a
// window makes of them, is left to the window's own logic.

#include <string>
#include <string_view>
#include <vector>

namespace quorvella {

// Splits at each "@" that is a character of its own, from the left: an empty field becomes one
// blank " ", a separator at the very end adds no field, an empty line gives no field. Nothing
// is trimmed.
std::vector<std::string> splite(std::string_view line);

} // namespace quorvella
