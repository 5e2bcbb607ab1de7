// Decodes the built-in pictures once, when the window loads.
#include <png.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "shell/embedded.hpp"
#include "shell/game.hpp"
#include "shell/pictures.hpp"

namespace sc {

const EmbeddedFile* find_embedded(const char* name) {
    for (const EmbeddedFile* f = kEmbeddedFiles; f->name != nullptr; ++f) {
        if (std::strcmp(f->name, name) == 0) { return f; }
    }
    return nullptr;
}

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

}  // namespace

bool decode_png(const unsigned char* data, std::size_t size, Surface& out) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) { return false; }
    Surface decoded(int(image.width), int(image.height));
    if (!decode_into(image, decoded)) { return false; }
    out = std::move(decoded);
    return true;
}

bool load_picture(const char* name, Surface& target) {
    const EmbeddedFile* f = find_embedded(name);
    if (f == nullptr) { return false; }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, f->data, f->size)) { return false; }
    if (int(image.width) != target.width() || int(image.height) != target.height()) {
        png_image_free(&image);
        return false;
    }
    return decode_into(image, target);
}

void Game::LoadPictures() {
    // A picture that is missing or of the wrong size stays black: the game still runs.
    load_picture("chip.png", Chip);
    char name[32];
    for (int i = 0; i < 22; ++i) {
        std::snprintf(name, sizeof name, "face%02d.png", i);
        load_picture(name, Face[i]);
    }
    for (int i = 0; i < 5; ++i) {
        std::snprintf(name, sizeof name, "robo%d.png", i);
        load_picture(name, RoboP[i]);
    }
    load_picture("logo.png", RogoP);
    load_picture("kanban.png", KanbanP);
}

}  // namespace sc
