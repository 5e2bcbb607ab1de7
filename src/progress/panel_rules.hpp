// The arithmetic behind the panels, shared with the tests: bar lengths and the forecast.
#pragma once
#include "shell/state.hpp"

namespace sc {

// Length of a pilot's hit-point bar (53 at most; negative for negative hit points).
short_t hp_bar_length(short_t hp, short_t max_hp);
// Length of the enemy's hit-point bar (100 at most).
short_t enemy_bar_length(short_t hp, short_t max_hp);
// What pilot i loses when the enemy's gauge next fills, by the attack's own sharing rule.
long forecast_damage(const GameState& s, int i);

}  // namespace sc
