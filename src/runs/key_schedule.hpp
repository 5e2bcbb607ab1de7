// A key script delivered into the game as a run goes: the keys of tick 0 at the battle
// start, every other key once its tick has completed, and the rest at once when the battle
// clock has stopped for good.
#pragma once
#include <cstddef>
#include <vector>

#include "runs/battle_count.hpp"
#include "runs/key_script.hpp"

namespace sc {

class KeySchedule {
public:
    explicit KeySchedule(std::vector<ScriptKey> keys);
    // After every event the loop handled (and `count` has seen): queues what is due. False
    // once the battle clock has stopped and every key has been delivered and handled.
    bool feed(const BattleCount& count, Game& g);
    // The tick of the last key (0 for none).
    long last_tick() const { return keys_.empty() ? 0 : keys_.back().tick; }
    // Whether every key has been handed to the game (it may not have handled them yet).
    bool delivered_all() const { return next_ == keys_.size(); }

private:
    void deliver(Game& g, long up_to_tick, bool all);
    std::vector<ScriptKey> keys_;
    std::size_t next_ = 0;
};

}  // namespace sc
