#include "platform/web/page_bridge.hpp"

#include <emscripten.h>

// Each call goes to the page object the page script handed to the program (Module.page).
EM_JS(int, sc_page_take_input, (int* x, int* y), {
    const input = Module.page.takeInput();
    if (!input) return 0;
    HEAP32[x >> 2] = input.x | 0;
    HEAP32[y >> 2] = input.y | 0;
    return input.code;
});
// Unwinds the program (Asyncify) until the page wakes it: sc_page_wait is an Asyncify import.
EM_JS(void, sc_page_wait, (double ms), {
    Asyncify.handleSleep(function(wakeUp) { Module.page.wait(ms, wakeUp); });
});
// The picture goes as the program's memory and where in it the picture lies: nothing is made
// anew for each rectangle.
EM_JS(void, sc_page_show, (const unsigned char* rgba, int dx, int dy, int x, int y, int w, int h), {
    Module.page.show(HEAPU8.buffer, rgba, dx, dy, x, y, w, h);
});
EM_JS(int, sc_page_muted, (), { return Module.page.muted() ? 1 : 0; });
EM_JS(double, sc_page_speed, (), { return Module.page.speed(); });
EM_JS(void, sc_page_keep_clear_file, (const char* path), { Module.page.keepClearFile(UTF8ToString(path)); });
EM_JS(void, sc_page_paused, (int on), { Module.page.paused(!!on); });
EM_JS(void, sc_page_progress, (double ticks, double ms), { Module.page.progress(ticks, ms); });
EM_JS(void, sc_page_ended, (const char* recording), { Module.page.ended(UTF8ToString(recording)); });
EM_JS(void, sc_page_keep_picture, (const char* when), { Module.page.keepPicture(UTF8ToString(when)); });
EM_JS(void, sc_page_failed, (const char* why), { Module.page.failed(UTF8ToString(why)); });
EM_JS(void, sc_page_described, (const char* json), { Module.page.described(JSON.parse(UTF8ToString(json))); });
EM_JS(int, sc_page_open_sound, (int muted, double music_gain, double effect_gain), {
    return Module.page.openSound(!!muted, music_gain, effect_gain) ? 1 : 0;
});
EM_JS(void, sc_page_set_muted, (int muted), { Module.page.setMuted(!!muted); });
EM_JS(void, sc_page_hold_sound, (int held), { Module.page.holdSound(!!held); });
EM_JS(int, sc_page_music_open, (const char* path), { return Module.page.openMusic(UTF8ToString(path)) ? 1 : 0; });
EM_JS(void, sc_page_music, (int command), { Module.page.music(command); });
EM_JS(int, sc_page_music_playing, (), { return Module.page.musicPlaying() ? 1 : 0; });
EM_JS(void, sc_page_play_effect, (const char* path), { Module.page.playEffect(UTF8ToString(path)); });
EM_JS(void, sc_page_close_sound, (), { Module.page.closeSound(); });

namespace sc::page {

int take_input(int& x, int& y) { return sc_page_take_input(&x, &y); }
void wait(double ms) { sc_page_wait(ms); }
void show(const std::uint8_t* rgba, int dx, int dy, int x, int y, int w, int h) { sc_page_show(rgba, dx, dy, x, y, w, h); }
bool muted() { return sc_page_muted() != 0; }
double speed() { return sc_page_speed(); }
double now() { return emscripten_get_now(); }
void keep_clear_file(const char* path) { sc_page_keep_clear_file(path); }
void paused(bool on) { sc_page_paused(on ? 1 : 0); }
void progress(long ticks, std::uint32_t ms) { sc_page_progress(double(ticks), double(ms)); }
void ended(const char* recording) { sc_page_ended(recording); }
void keep_picture(const char* when) { sc_page_keep_picture(when); }
void failed(const char* why) { sc_page_failed(why); }
void described(const char* json) { sc_page_described(json); }
bool open_sound(bool muted, double music_gain, double effect_gain) {
    return sc_page_open_sound(muted ? 1 : 0, music_gain, effect_gain) != 0;
}
void set_muted(bool muted) { sc_page_set_muted(muted ? 1 : 0); }
void hold_sound(bool held) { sc_page_hold_sound(held ? 1 : 0); }
bool music_open(const char* path) { return sc_page_music_open(path) != 0; }
void music(MusicCommand command) { sc_page_music(int(command)); }
bool music_playing() { return sc_page_music_playing() != 0; }
void play_effect(const char* path) { sc_page_play_effect(path); }
void close_sound() { sc_page_close_sound(); }

}  // namespace sc::page
