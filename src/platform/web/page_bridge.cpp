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
EM_JS(void, sc_page_show, (const unsigned char* rgba, int x, int y, int w, int h), {
    Module.page.show(HEAPU8.subarray(rgba, rgba + 800 * 600 * 4), x, y, w, h);
});
EM_JS(int, sc_page_muted, (), { return Module.page.muted() ? 1 : 0; });
EM_JS(double, sc_page_speed, (), { return Module.page.speed(); });
EM_JS(void, sc_page_keep_clear_file, (const char* path), { Module.page.keepClearFile(UTF8ToString(path)); });
EM_JS(void, sc_page_ended, (const char* recording), { Module.page.ended(UTF8ToString(recording)); });
EM_JS(void, sc_page_keep_picture, (const char* when), { Module.page.keepPicture(UTF8ToString(when)); });
EM_JS(void, sc_page_failed, (const char* why), { Module.page.failed(UTF8ToString(why)); });

namespace sc::page {

int take_input(int& x, int& y) { return sc_page_take_input(&x, &y); }
void wait(double ms) { sc_page_wait(ms); }
void show(const std::uint8_t* rgba, int x, int y, int w, int h) { sc_page_show(rgba, x, y, w, h); }
bool muted() { return sc_page_muted() != 0; }
double speed() { return sc_page_speed(); }
double now() { return emscripten_get_now(); }
void keep_clear_file(const char* path) { sc_page_keep_clear_file(path); }
void ended(const char* recording) { sc_page_ended(recording); }
void keep_picture(const char* when) { sc_page_keep_picture(when); }
void failed(const char* why) { sc_page_failed(why); }

}  // namespace sc::page
