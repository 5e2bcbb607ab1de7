// Decodes the built-in pictures once, when the window loads.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "pixels/png_reader.hpp"
#include "shell/embedded.hpp"
#include "shell/game.hpp"
#include "shell/pictures.hpp"
#include "words/catalogue.hpp"

namespace sc {

const EmbeddedFile* find_embedded(const char* name) {
    for (const EmbeddedFile* f = kEmbeddedFiles; f->name != nullptr; ++f) {
        if (std::strcmp(f->name, name) == 0) { return f; }
    }
    return nullptr;
}

bool load_picture(const char* name, Surface& target) {
    const EmbeddedFile* f = find_embedded(name);
    if (f == nullptr) { return false; }
    return decode_png_into(f->data, f->size, target);
}

bool load_picture_in(std::string_view language, const char* name, Surface& target) {
    const std::string own = std::string(language) + "/" + name;
    return (find_embedded(own.c_str()) != nullptr && load_picture(own.c_str(), target)) || load_picture(name, target);
}

void Game::LoadPictures() {
    // A picture that is missing or of the wrong size stays black: the game still runs. One with
    // words painted in is taken in the language the game's words are drawn in, when it has one.
    const std::string_view language = language_of(catalogue);
    load_picture_in(language, "chip.png", Chip);
    char name[32];
    for (int i = 0; i < 22; ++i) {
        std::snprintf(name, sizeof name, "face%02d.png", i);
        load_picture_in(language, name, Face[i]);
    }
    for (int i = 0; i < 5; ++i) {
        std::snprintf(name, sizeof name, "robo%d.png", i);
        load_picture_in(language, name, RoboP[i]);
    }
    load_picture_in(language, "logo.png", RogoP);
    load_picture_in(language, "kanban.png", KanbanP);
}

}  // namespace sc
