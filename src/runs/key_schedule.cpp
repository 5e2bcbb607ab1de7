#include "runs/key_schedule.hpp"

#include <algorithm>
#include <utility>

#include "shell/game.hpp"

namespace sc {

KeySchedule::KeySchedule(std::vector<ScriptKey> keys) : keys_(std::move(keys)) {
    std::stable_sort(keys_.begin(), keys_.end(), [](const ScriptKey& a, const ScriptKey& b) { return a.tick < b.tick; });
}

void KeySchedule::deliver(Game& g, long up_to_tick, bool all) {
    while (next_ < keys_.size() && (all || keys_[next_].tick <= up_to_tick)) {
        const ScriptKey& k = keys_[next_++];
        if (k.code == kClickCode) {
            g.input.push(InputEvent{InputEvent::Kind::Click, 0});
        } else {
            g.input.push(InputEvent{InputEvent::Kind::Key, k.code});
        }
    }
}

bool KeySchedule::feed(const BattleCount& count, Game& g) {
    if (!count.started()) { return true; }
    deliver(g, count.ticks(), false);
    // Keys whose tick never comes follow the stopped battle clock.
    if (g.Timer2.Interval == 0 && g.input.empty()) {
        if (next_ == keys_.size()) { return false; }
        deliver(g, 0, true);
    }
    return true;
}

}  // namespace sc
