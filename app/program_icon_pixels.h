#pragma once
// The program's icon as pixels, one picture per size from 16 to 64 pixels, made at build time
// from the icon pictures (premultiplied ARGB, a row after another).

#include <array>
#include <cstdint>

namespace quorvella {

struct IconPixels {
    int size; // width and height
    const std::uint32_t* pixels;
};

extern const std::array<IconPixels, 5> kProgramIconPixels;

} // namespace quorvella
