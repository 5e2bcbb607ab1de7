// PNG decoding through libpng's simplified reader.
#include "pixels/png_reader.hpp"

#include <png.h>

#include <cstring>

namespace sc {

namespace {

// Decodes into `out`, which must already have the picture's size: straight into its pixels,
// with no second buffer. On failure `out` is left black.
bool decode_into(png_image& image, Surface& out) {
    image.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
    if (!png_image_finish_read(&image, nullptr, out.row(0), 0, nullptr)) {
        png_image_free(&image);
        out.fill(0);
        return false;
    }
    for (int y = 0; y < out.height(); ++y) {
        std::uint32_t* row = out.row(y);
        for (int x = 0; x < out.width(); ++x) { row[x] &= 0x00FFFFFFu; }
    }
    out.DrawWidth = 1;
    out.text = TextStyle{};
    out.touch();
    return true;
}

bool begin_read(png_image& image, const unsigned char* data, std::size_t size) {
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    return png_image_begin_read_from_memory(&image, data, size) != 0;
}

}  // namespace

bool decode_png(const unsigned char* data, std::size_t size, Surface& out) {
    png_image image;
    if (!begin_read(image, data, size)) { return false; }
    Surface decoded(int(image.width), int(image.height));
    if (!decode_into(image, decoded)) { return false; }
    out = std::move(decoded);
    return true;
}

bool decode_png_into(const unsigned char* data, std::size_t size, Surface& target) {
    png_image image;
    if (!begin_read(image, data, size)) { return false; }
    if (int(image.width) != target.width() || int(image.height) != target.height()) {
        png_image_free(&image);
        return false;
    }
    return decode_into(image, target);
}

}  // namespace sc
