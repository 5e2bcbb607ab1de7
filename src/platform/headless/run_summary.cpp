#include "platform/headless/run_summary.hpp"

#include "core/event_loop.hpp"
#include "platform/headless/headless_platform.hpp"
#include "runs/battle_count.hpp"
#include "runs/key_schedule.hpp"
#include "shell/game.hpp"

namespace sc {

RunSummary summarize_run(const KeyScript& script, long max_ticks) {
    HeadlessPlatform platform;
    Game g(platform);
    g.seed_from_clock = false;
    g.seed_value = script.seed.value_or(1);
    g.save_clear_file = false;
    RunSummary s;
    s.seed = g.seed_value;
    BattleCount count;
    KeySchedule schedule(script.keys);
    const std::uint32_t start = platform.now_ms();
    EventLoop loop(g, platform);
    loop.run([&](const LoopEvent& e) {
        if (!count.after(e, g).empty()) { s.ms = platform.now_ms() - start; }
        const bool out_of_ticks = e.kind == LoopEvent::Kind::Timer2 && count.ticks() >= max_ticks;
        // Once decided, nothing the keys do changes the outcome.
        if (g.GameMode == 2 || out_of_ticks || !schedule.feed(count, g)) {
            loop.request_stop();
            return;
        }
        // Every key handled, the battle still going: the run stops here.
        if (count.started() && schedule.delivered_all() && g.input.empty()) { loop.request_stop(); }
    });
    s.ticks = count.ticks();
    s.defeated = g.EnemyNo;
    if (g.GameMode == 2) { s.outcome = g.EnemyNo == 8 ? "won" : "lost"; }
    return s;
}

std::string summary_json(const RunSummary& s) {
    return "{\"seed\":" + std::to_string(s.seed) + ",\"ticks\":" + std::to_string(s.ticks) +
           ",\"ms\":" + std::to_string(s.ms) + ",\"defeated\":" + std::to_string(s.defeated) +
           ",\"outcome\":\"" + s.outcome + "\"}";
}

}  // namespace sc
