#include "pixels/png_writer.hpp"

#include <png.h>

#include <cstring>
#include <vector>

namespace sc {

namespace {

template <typename Write>
bool write_rgb(const Surface& s, Write write) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(s.width());
    image.height = png_uint_32(s.height());
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(std::size_t(s.width()) * std::size_t(s.height()) * 3);
    std::size_t k = 0;
    for (std::uint32_t v : s.pixels()) {
        rgb[k++] = static_cast<unsigned char>(v >> 16);
        rgb[k++] = static_cast<unsigned char>(v >> 8);
        rgb[k++] = static_cast<unsigned char>(v);
    }
    const int ok = write(&image, rgb.data());
    png_image_free(&image);
    return ok != 0;
}

}  // namespace

bool write_png(const std::string& path, const Surface& s) {
    return write_rgb(s, [&](png_image* image, const unsigned char* rgb) {
        return png_image_write_to_file(image, path.c_str(), 0, rgb, 0, nullptr);
    });
}

bool write_png(std::FILE* file, const Surface& s) {
    return write_rgb(s, [&](png_image* image, const unsigned char* rgb) {
        return png_image_write_to_stdio(image, file, 0, rgb, 0, nullptr);
    });
}

}  // namespace sc
