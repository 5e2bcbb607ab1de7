// The game state: every field of the game window, with its width, and the data tables.
// byte = std::uint8_t, short = std::int16_t, long = std::int32_t.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "pixels/surface.hpp"

namespace sc {

using byte_t = std::uint8_t;
using short_t = std::int16_t;
using long_t = std::int32_t;

template <class T>
using PerPilot = std::array<T, 7>;

struct GameState {
    // Scratch counters shared by many procedures.
    short_t LoopI = 0, LoopJ = 0, LoopK = 0, LoopL = 0, LoopM = 0;
    short_t ChipX = 0, ChipY = 0;

    // Mode and sequencing.
    byte_t GameMode = 0;    // 0 battle, 2 finished, 5 start-up
    byte_t StartStage = 0;  // next step of the start-up sequence
    byte_t QuitStage = 0;   // step of the delayed quit

    std::string AppDir;  // the program's data folder, ending in one separator

    // Colours.
    long_t ColDarkRed = 0, ColMint = 0, ColOrange = 0, ColCream = 0, ColPink = 0;

    // Enemy roster, rows 0..8.
    std::array<std::string, 9> EnemyNames{};
    std::array<short_t, 9> EnemyHpTable{};
    std::array<short_t, 9> EnemyAttackTable{};
    std::array<short_t, 9> EnemySpeedTable{};
    std::array<byte_t, 9> EnemyKindTable{};

    // Current enemy.
    byte_t EnemyNo = 0;
    std::string EnemyName;
    short_t EnemyHp = 0, EnemyMaxHp = 0, EnemyAttack = 0, EnemySpeed = 0;
    byte_t EnemyKind = 0;
    short_t EnemyGauge = 0;
    short_t DamageRate = 0;

    // Pilots.
    PerPilot<std::string> PilotName{};
    PerPilot<short_t> PilotHp{}, PilotMaxHp{}, PilotShort{}, PilotLong{}, PilotSpeed{};
    PerPilot<byte_t> PilotLevel{};  // saturates at 255 (see the level-up)
    PerPilot<byte_t> LvHpUp{}, LvShortUp{}, LvLongUp{};
    PerPilot<byte_t> PilotMode{}, PilotPose{};
    PerPilot<short_t> PilotX{}, PilotY{}, PilotBob{};
    PerPilot<byte_t> PilotStep{}, PilotOut{};
    PerPilot<short_t> PilotCharge{};
    PerPilot<byte_t> PilotHit{};
    PerPilot<std::string> SkillName{};

    // Party-wide.
    byte_t Cursor = 0, AliveCount = 0, HealChance = 0, TalkTimer = 0, LvUpPilot = 0, ChipPilot = 0;

    // Command rows 0..5.
    std::array<std::string, 6> CommandName{};
    std::array<byte_t, 6> ModeValue{};
    std::array<short_t, 6> ModeChipY{};
    std::array<short_t, 3> PoseChipX{};

    // Spoken lines: Koe[pilot][situation].
    std::array<std::array<std::string, 6>, 7> Koe{};
};

// Stores a wide result into a 16-bit field without wrapping.
constexpr short_t sat16(long long v) {
    return v > 32767 ? short_t(32767) : v < -32768 ? short_t(-32768) : short_t(v);
}
constexpr byte_t sat8(long long v) { return v > 255 ? byte_t(255) : v < 0 ? byte_t(0) : byte_t(v); }

}  // namespace sc
