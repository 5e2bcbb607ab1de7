#include "platform/headless/png_writer.hpp"

#include <png.h>

#include <cstring>
#include <vector>

namespace sc {

bool write_png(const std::string& path, const Surface& s) {
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
    const int ok = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr);
    png_image_free(&image);
    return ok != 0;
}

}  // namespace sc
