#include "runs/battle_count.hpp"

#include "runs/key_script.hpp"
#include "shell/game.hpp"

namespace sc {

int script_key(const LoopEvent& e) {
    switch (e.kind) {
        case LoopEvent::Kind::Key: return e.key;
        case LoopEvent::Kind::Click: return kClickCode;
        default: return -1;
    }
}

std::string_view BattleCount::after(const LoopEvent& e, const Game& g) {
    switch (e.kind) {
        case LoopEvent::Kind::Timer1:
            if (!started_ && g.StartStage == 1 && g.Timer2.Interval > 0) {
                started_ = true;
                return "start";
            }
            return {};
        case LoopEvent::Kind::Timer2:
            ++ticks_;
            return "tick";
        case LoopEvent::Kind::Key:
        case LoopEvent::Kind::Click:
            // Keys of the start-up are ignored by the game and belong to no tick.
            return started_ ? "key" : std::string_view();
        default:
            return {};
    }
}

}  // namespace sc
