// The battle: the enemy's attack and its presentation, the damage rate and its skills, the
// recoveries, silent refusals and the keys after the game. (Movement, lines, the other keys, the
// screen's shake and the game over: the golden replays.)
#include <gtest/gtest.h>

#include "progress/panel_rules.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

using testing::same_block;
using Row = std::array<int, 7>;
constexpr int kEnter = 13, kEsc = 27, kUp = 38, kDown = 40;
const std::uint32_t kWhite = pixel_rgb(255, 255, 255);

struct Battle : testing::HeadlessGame {
    Battle() { start_battle(); }
    void layout(const Row& modes, const Row& poses = {}) {
        for (int i = 0; i < 7; ++i) {
            settle(i, modes[std::size_t(i)]);
            g.PilotPose[std::size_t(i)] = byte_t(poses[std::size_t(i)]);
        }
    }
};

// Each attack case: the rows, the damage each pilot takes (the forecast over its face says the
// same beforehand), PilotHit afterwards, and which faces jitter and cry.
TEST(AttackTest, SharesByRowAndTheFacesThatJitterAndCry) {
    const struct {
        const char* what;
        Row modes, poses, damage, hit, jitter;
    } cases[] = {
        {"the start: W = 35", {2, 2, 2, 2, 2, 2, 2}, {}, {4, 4, 4, 4, 4, 4, 4}, {1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1, 1}},
        {"the chicken row takes the whole attack, sleepers nothing", {0, 4, 4, 4, 4, 4, 4}, {}, {30, 0, 0, 0, 0, 0, 0},
         {1, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0}},
        {"a special-row share rounds to 0: no hit, no cry", {1, 2, 2, 3, 2, 2, 2}, {}, {8, 4, 4, 0, 4, 4, 4},
         {1, 1, 1, 0, 1, 1, 1}, {1, 1, 1, 0, 1, 1, 1}},
        {"moving pilots count in the row they head for", {4, 0, 2, 2, 2, 2, 2}, {2, 1, 0, 0, 0, 0, 0},
         {0, 30, 4, 4, 4, 4, 4}, {0, 1, 1, 1, 1, 1, 1}, {0, 1, 1, 1, 1, 1, 1}},
        {"all asleep: split over the six standing, PilotHit kept", {4, 4, 4, 4, 4, 4, 5}, {}, {5, 5, 5, 5, 5, 5, 5},
         {0, 1, 0, 0, 0, 0, 1}, {1, 1, 1, 1, 1, 1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Battle h;
        Game& g = h.g;
        h.layout(c.modes, c.poses);
        if (c.modes[6] == 5) {
            g.PilotOut[6] = 1;
            g.PilotHp[6] = 0;
            g.AliveCount = 6;
            g.PilotHit = {0, 1, 0, 0, 0, 0, 1};  // as an earlier attack left it
        }
        const auto before = g.PilotHp;
        h.effects();
        for (int i = 0; i < 7; ++i) { EXPECT_EQ(forecast_damage(g, i), c.damage[std::size_t(i)]) << "forecast " << i; }
        const Surface faces = g.Display[2];  // before the faces change for the new hit points
        const auto frames = h.frames_of([&] { g.Tujyo(); });
        ASSERT_EQ(frames.size(), 14u);  // six shaking frames, eight of the faces
        for (std::size_t i = 0; i < 7; ++i) {
            EXPECT_EQ(before[i] - g.PilotHp[i], c.damage[i]) << "pilot " << i;
            EXPECT_EQ(g.PilotHit[i], c.hit[i]) << "pilot " << i;
            bool moved = false, cried = false;
            for (std::size_t f = 6; f < 14; ++f) {
                moved |= !same_block(frames[f], 16 + 51 + 96 * int(i), 12 + 451, faces, 51 + 96 * int(i), 451, 90, 90);
                cried |= frames[f].at(16 + 96 * int(i) + 52, 12 + 551) == kWhite;
            }
            EXPECT_EQ(moved, c.jitter[i] == 1) << "pilot " << i;
            EXPECT_EQ(cried, c.jitter[i] == 1) << "pilot " << i;
        }
        EXPECT_EQ(h.effects(), (std::vector<int>{7, 6}));
    }
}

TEST(DamageTest, RateSkillsAndTheImmediateHit) {
    const struct {
        const char* what;
        Row modes, poses;
        int level1, rate, hit;
    } cases[] = {
        {"the start: the long powers", {2, 2, 2, 2, 2, 2, 2}, {}, 1, 19, 0},
        {"ぱたぽこ adds twice pilot 3's short power", {2, 2, 2, 3, 2, 2, 2}, {}, 1, 24, 0},
        {"鼓舞 at level 1: 10.4 rounds to 10", {4, 3, 4, 1, 1, 4, 4}, {}, 1, 10, 0},
        {"鼓舞 at level 5: 12", {4, 3, 4, 1, 1, 4, 4}, {}, 5, 12, 0},
        {"鼓舞 at level 14: 15.6 rounds to 16", {4, 3, 4, 1, 1, 4, 4}, {}, 14, 16, 0},
        {"ぱたぽこ first, then 鼓舞", {4, 3, 4, 3, 1, 4, 4}, {}, 1, 16, 0},
        {"short powers of 25 hit for 1 at once", {1, 1, 1, 1, 1, 1, 1}, {}, 1, 25, 1},
        {"a pilot on its way to the chicken row zeroes the rate, not the hit", {0, 1, 1, 1, 1, 1, 1},
         {1, 0, 0, 0, 0, 0, 0}, 1, 0, 1},
        {"moving pilots and their skills count for nothing", {1, 3, 1, 3, 1, 1, 1}, {2, 1, 2, 2, 2, 2, 2}, 5, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Battle h;
        Game& g = h.g;
        h.layout(c.modes, c.poses);
        g.PilotLevel[1] = byte_t(c.level1);
        g.EnemyHp = 300;
        g.DmKeisan();
        EXPECT_EQ(g.DamageRate, c.rate);
        EXPECT_EQ(300 - g.EnemyHp, c.hit);
    }
}

TEST(DamageTest, HealChanceFromBothLullabiesAtPilotSixsLevel) {
    const struct {
        Row modes, poses;
        int level6, chance;
    } cases[] = {
        {{2, 2, 2, 2, 2, 2, 2}, {}, 1, 5},  {{3, 2, 2, 2, 2, 2, 2}, {}, 1, 12}, {{2, 2, 2, 2, 2, 2, 3}, {}, 1, 12},
        {{3, 2, 2, 2, 2, 2, 3}, {}, 1, 19}, {{3, 2, 2, 2, 2, 2, 3}, {}, 5, 35}, {{3, 2, 2, 2, 2, 2, 2}, {2, 0, 0, 0, 0, 0, 0}, 1, 5},
        {{3, 2, 2, 2, 2, 2, 3}, {}, 255, 100},
    };
    for (const auto& c : cases) {
        Battle h;
        h.layout(c.modes, c.poses);
        h.g.PilotLevel[6] = byte_t(c.level6);
        h.g.KaihukuHenka();
        EXPECT_EQ(h.g.HealChance, c.chance) << "level " << c.level6 << ", pilot 0 in row " << c.modes[0];
    }
}

// Sleepers roll only when they can heal; a heal is 2, never past the maximum; and nobody heals
// before the chance is first counted.
TEST(BattleClockTest, SleepRecoveryAndPilotFivesRegeneration) {
    Battle h;
    Game& g = h.g;
    h.layout({4, 4, 4, 3, 3, 3, 2}, {0, 0, 0, 0, 0, 0, 0});
    g.PilotPose[2] = 2;  // pilot 2 still on its way to row 4
    g.PilotY[2] = 335;
    g.PilotHp = {59, 60, 70, 50, 90, 90, 50};        // maxima 60 70 80 60 100 100 60
    EXPECT_EQ(g.HealChance, 0);
    h.ticks(3);
    EXPECT_EQ(g.PilotHp, (PerPilot<short_t>{59, 60, 70, 50, 90, 93, 50})) << "only pilot 5 heals, 1 a tick";
    g.HealChance = 110;  // every roll succeeds
    Random ref = g.rng;
    h.ticks(1);
    EXPECT_EQ(g.PilotHp, (PerPilot<short_t>{60, 62, 70, 50, 90, 94, 50}));
    ref.next();
    ref.next();  // two sleepers could heal: two draws, no more
    EXPECT_EQ(g.rng.next(), ref.next());
    g.PilotHp[5] = 100;
    g.PilotPose[5] = 1;
    g.PilotHp[4] = 90;
    h.ticks(1);
    EXPECT_EQ(g.PilotHp[5], 100);
    EXPECT_EQ(g.PilotHp[4], 90) << "pilot 4 has no such skill";
}

TEST(CommandsTest, NothingForAPilotMovingUpOrKnockedOut) {
    Battle h;
    h.key(kUp);  // pilot 3 on its way to the short row
    h.effects();
    h.key(kUp);
    EXPECT_EQ(h.g.PilotMode[3], 1);
    h.settle(3, 5);
    h.g.PilotOut[3] = 1;  // as a knock-out leaves it
    h.key(kUp);
    h.key(kDown);
    EXPECT_EQ(h.g.PilotMode[3], 5);
    EXPECT_TRUE(h.effects().empty());
}

// After the game, lost (every pilot knocked out at once) or won: Escape silences the effects and
// the music (the wave stopped, the piece stopped and closed), each time, and the program stays
// open; Enter ends it and no other key touches the sound or ends anything. (The game over itself:
// the asleep golden replay.)
TEST(FinishedTest, EscapeSilencesEnterQuitsAndNoOtherKeyDoesEither) {
    for (const bool won : {false, true}) {
        SCOPED_TRACE(won ? "won" : "lost");
        Battle h;
        Game& g = h.g;
        if (won) {
            g.EnemyNo = 7;
            g.Taosita();
        } else {
            g.PilotHp = {4, 4, 4, 4, 4, 4, 4};
            g.EnemyGauge = 700;
            h.ticks(1);
        }
        ASSERT_EQ(g.GameMode, 2);
        const auto stops = [&] { return h.platform.recorded_waves().stops; };
        const auto music = [&] { return h.platform.recorded_music().commands; };
        // The arrows, space, P, M, F11, Tab, Backspace, Delete, Home, A and 1.
        for (const int other : {37, 38, 39, 40, 32, 80, 77, 122, 9, 8, 46, 36, 65, 49}) {
            const int s0 = stops();
            const auto m0 = music();
            h.key(other);
            EXPECT_EQ(stops(), s0) << "key " << other;
            EXPECT_EQ(music(), m0) << "key " << other;
            EXPECT_FALSE(g.ended) << "key " << other;
        }
        for (int time = 1; time <= 2; ++time) {
            const int s0 = stops();
            auto expected = music();
            expected.insert(expected.end(), {"stop", "close"});
            h.key(kEsc);
            EXPECT_EQ(stops(), s0 + 1) << "Escape " << time;
            EXPECT_EQ(music(), expected) << "Escape " << time;
            EXPECT_FALSE(g.ended) << "Escape " << time;
        }
        const int s0 = stops();
        const auto m0 = music();
        h.key(kEnter);
        EXPECT_TRUE(g.ended);
        EXPECT_EQ(stops(), s0);
        EXPECT_EQ(music(), m0);
    }
}

}  // namespace
}  // namespace sc
