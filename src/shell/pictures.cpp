// Decodes the built-in pictures once, when the window loads.
#include <cstdio>
#include <cstring>

#include "pixels/png_reader.hpp"
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

bool load_picture(const char* name, Surface& target) {
    const EmbeddedFile* f = find_embedded(name);
    if (f == nullptr) { return false; }
    return decode_png_into(f->data, f->size, target);
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
