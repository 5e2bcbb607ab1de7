#include "platform/headless/soak.hpp"

#include <memory>
#include <random>
#include <sstream>

#include "platform/fonts/installed_fonts.hpp"
#include "platform/headless/headless_platform.hpp"
#include "platform/headless/replay.hpp"
#include "shell/game.hpp"

namespace sc {

std::vector<ScriptKey> generate_soak_script(std::uint64_t seed, long max_ticks) {
    std::mt19937_64 rng(seed);
    auto below = [&](long n) { return n <= 0 ? 0L : long(rng() % std::uint64_t(n)); };
    static const int arrows[] = {37, 38, 39, 40};
    std::vector<ScriptKey> keys;
    const long length = 200 + below(max_ticks);
    long tick = 0;
    while (tick < length * 95 / 100) {
        switch (below(10)) {
            case 0:  // a long idle stretch
                tick += 300 + below(3000);
                break;
            case 1: {  // a burst of one key
                const int code = arrows[below(4)];
                for (long n = 5 + below(25); n > 0; --n) { keys.push_back({tick, code, 0}); }
                tick += below(3);
                break;
            }
            case 2:  // now and then a key that means nothing in battle
                keys.push_back({tick, below(2) ? 13 : int(65 + below(26)), 0});
                tick += below(20);
                break;
            default:
                keys.push_back({tick, arrows[below(4)], 0});
                tick += below(40);
        }
    }
    // Near the end: the keys that end or silence the program.
    static const int enders[] = {27, 13, 1};
    for (int n = int(below(3)); n >= 0; --n) {
        keys.push_back({length * 95 / 100 + below(length / 20 + 1), enders[below(3)], 0});
    }
    return keys;
}

namespace {

// A message made only once something is wrong: the check runs after every event of the soak
// and of the fuzzer, where a stream made each time would cost more than the event.
class Complaints {
public:
    template <class T>
    Complaints& operator<<(const T& value) {
        if (!out_) { out_ = std::make_unique<std::ostringstream>(); }
        *out_ << value;
        return *this;
    }
    std::string str() const { return out_ ? out_->str() : std::string(); }

private:
    std::unique_ptr<std::ostringstream> out_;
};

}  // namespace

std::string broken_invariant(const Game& g) {
    Complaints why;
    int alive = 0;
    for (int i = 0; i < 7; ++i) {
        if (g.PilotHp[i] > 0) { ++alive; }
        if (g.PilotMode[i] > 5) { why << "PilotMode(" << i << ") " << int(g.PilotMode[i]) << "; "; }
        if (g.PilotPose[i] > 2) { why << "PilotPose(" << i << ") " << int(g.PilotPose[i]) << "; "; }
        if (g.PilotStep[i] > 20) { why << "PilotStep(" << i << ") " << int(g.PilotStep[i]) << "; "; }
        if (g.PilotCharge[i] < 0 || g.PilotCharge[i] > 32) { why << "PilotCharge(" << i << ") " << g.PilotCharge[i] << "; "; }
        if (g.PilotHp[i] < 0 || g.PilotHp[i] > g.PilotMaxHp[i]) { why << "PilotHp(" << i << ") " << g.PilotHp[i] << "; "; }
        if (g.PilotBob[i] != 1 && g.PilotBob[i] != -1) { why << "PilotBob(" << i << ") " << g.PilotBob[i] << "; "; }
        if (g.PilotX[i] != 224 + 48 * i) { why << "PilotX(" << i << ") " << g.PilotX[i] << "; "; }
        if (g.PilotOut[i] == 1) {
            if (g.PilotPose[i] != 0 || g.PilotMode[i] != 5 || g.PilotHp[i] != 0 || g.PilotY[i] != 390) {
                why << "out pilot " << i << " not lying in row 5; ";
            }
        } else if (g.PilotOut[i] != 0) {
            why << "PilotOut(" << i << ") " << int(g.PilotOut[i]) << "; ";
        } else if (g.PilotPose[i] == 0 && g.PilotY[i] != 170 + 55 * g.PilotMode[i]) {
            why << "settled pilot " << i << " at y " << g.PilotY[i] << " in row " << int(g.PilotMode[i]) << "; ";
        } else if (g.PilotPose[i] != 0 && (g.PilotY[i] < 170 - 4 || g.PilotY[i] > 390 + 4)) {
            why << "moving pilot " << i << " off the field at y " << g.PilotY[i] << "; ";
        }
    }
    if (g.Cursor > 6) { why << "Cursor " << int(g.Cursor) << "; "; }
    if (g.EnemyGauge < 0 || g.EnemyGauge > 700 + g.EnemySpeed) { why << "EnemyGauge " << g.EnemyGauge << "; "; }
    if (g.HealChance > 100) { why << "HealChance " << int(g.HealChance) << "; "; }
    if (g.TalkTimer > 5) { why << "TalkTimer " << int(g.TalkTimer) << "; "; }
    if (g.EnemyNo > 8) { why << "EnemyNo " << int(g.EnemyNo) << "; "; }
    if (g.GameMode != 0 && g.GameMode != 2 && g.GameMode != 5) { why << "GameMode " << int(g.GameMode) << "; "; }
    if (g.DamageRate < 0) { why << "DamageRate " << g.DamageRate << "; "; }
    const bool lost = g.GameMode == 2 && alive == 0;
    if (g.GameMode != 5 && g.StartStage == 1 && g.AliveCount != (lost ? 1 : alive)) {
        why << "AliveCount " << int(g.AliveCount) << " with " << alive << " standing; ";
    }
    if (g.ScreenLeft != 16 || g.ScreenTop != 12) { why << "screen left at " << g.ScreenLeft << "," << g.ScreenTop << "; "; }
    return why.str();
}

SoakResult run_soak(long scripts, long max_ticks, std::uint64_t seed, const std::string& app_dir) {
    SoakResult result;
    std::unique_ptr<FontEngine> fonts = open_installed_font(nullptr);
    for (long n = 0; n < scripts; ++n) {
        HeadlessPlatform platform;
        Game g(platform);
        g.fonts = fonts.get();
        g.seed_from_clock = false;
        g.seed_value = seed + std::uint64_t(n);
        g.app_dir_override = app_dir;
        ReplaySession session(g, platform, generate_soak_script(seed + std::uint64_t(n) * 7919, max_ticks), max_ticks);
        bool failed = false;
        session.run([&](const std::string& event, int) {
            ++result.events;
            if (failed || event == "end" || !session.battle_started()) { return; }
            const std::string why = broken_invariant(g);
            if (!why.empty()) {
                failed = true;
                if (result.messages.size() < 10) {
                    result.messages.push_back("script " + std::to_string(n) + " tick " + std::to_string(session.ticks()) +
                                              " after " + event + ": " + why);
                }
            }
        });
        ++result.scripts;
        result.ticks += session.ticks();
        result.failures += failed;
    }
    return result;
}

}  // namespace sc
