// The initial game state and the data tables.
#include <gtest/gtest.h>

#include "shell/app_dir.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

class StateTest : public ::testing::Test {
protected:
    testing::HeadlessGame h;
    void SetUp() override { h.load(); }
};

TEST_F(StateTest, ChipsStartInTheLongRowWithTheCursorInTheMiddle) {
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(h.g.PilotX[i], 224 + 48 * i);
        EXPECT_EQ(h.g.PilotY[i], 280);
        EXPECT_EQ(h.g.PilotMode[i], 2);
        EXPECT_EQ(h.g.PilotPose[i], 0);
        EXPECT_EQ(h.g.PilotLevel[i], 1);
        EXPECT_EQ(h.g.PilotBob[i], 1);
        EXPECT_EQ(h.g.PilotStep[i], 0);
        EXPECT_EQ(h.g.PilotMaxHp[i], h.g.PilotHp[i]);
    }
    EXPECT_EQ(h.g.Cursor, 3);
    EXPECT_EQ(h.g.AliveCount, 7);
    EXPECT_EQ(h.g.HealChance, 0);
    EXPECT_EQ(h.g.StartStage, 0);
}

TEST_F(StateTest, PilotAndLevelUpTablesAreRegistered) {
    const int hp[7] = {60, 70, 80, 60, 100, 100, 60};
    const int shorts[7] = {0, 3, 8, 5, 5, 4, 0};
    const int longs[7] = {3, 3, 0, 5, 0, 4, 4};
    const int hpup[7] = {4, 5, 10, 7, 20, 12, 6};
    const int shup[7] = {0, 1, 9, 4, 5, 3, 0};
    const int loup[7] = {3, 1, 0, 4, 0, 1, 2};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(h.g.PilotHp[i], hp[i]) << i;
        EXPECT_EQ(h.g.PilotSpeed[i], 10) << i;
        EXPECT_EQ(h.g.PilotShort[i], shorts[i]) << i;
        EXPECT_EQ(h.g.PilotLong[i], longs[i]) << i;
        EXPECT_EQ(h.g.LvHpUp[i], hpup[i]) << i;
        EXPECT_EQ(h.g.LvShortUp[i], shup[i]) << i;
        EXPECT_EQ(h.g.LvLongUp[i], loup[i]) << i;
    }
    EXPECT_EQ(h.g.PilotName[1], "モ・ジャルテ");
    EXPECT_EQ(h.g.PilotName[6], "シードパール");
    EXPECT_EQ(h.g.SkillName[1], "鼓舞");
    EXPECT_EQ(h.g.SkillName[4], "-----");
}

TEST_F(StateTest, EnemyRosterAndTheFirstEnemy) {
    const int hp[9] = {500, 1500, 4000, 1000, 5000, 8000, 8000, 9999, 7777};
    const int atk[9] = {30, 30, 50, 60, 70, 110, 120, 150, 777};
    const int spd[9] = {5, 2, 4, 2, 10, 2, 5, 5, 7};
    const int kind[9] = {1, 2, 4, 2, 3, 2, 4, 0, 0};
    for (int r = 0; r < 9; ++r) {
        EXPECT_EQ(h.g.EnemyHpTable[r], hp[r]);
        EXPECT_EQ(h.g.EnemyAttackTable[r], atk[r]);
        EXPECT_EQ(h.g.EnemySpeedTable[r], spd[r]);
        EXPECT_EQ(h.g.EnemyKindTable[r], kind[r]);
    }
    EXPECT_EQ(h.g.EnemyNames[5], "リトル-９Ｃ・typeＰ");
    EXPECT_TRUE(h.g.EnemyNames[8].empty());
    EXPECT_EQ(h.g.EnemyName, "ミッドナイトクック");
    EXPECT_EQ(h.g.EnemyHp, 500);
    EXPECT_EQ(h.g.EnemyMaxHp, 500);
    EXPECT_EQ(h.g.EnemySpeed, 5);
    EXPECT_EQ(h.g.EnemyAttack, 30);
    EXPECT_EQ(h.g.EnemyKind, 1);
    EXPECT_EQ(h.g.EnemyNo, 0);
}

TEST_F(StateTest, RowTablesAndColours) {
    const int weights[6] = {10, 10, 5, 1, 0, 0};
    const int chip_y[6] = {64, 32, 96, 128, 128, 128};
    for (int m = 0; m < 6; ++m) {
        EXPECT_EQ(h.g.ModeValue[m], weights[m]);
        EXPECT_EQ(h.g.ModeChipY[m], chip_y[m]);
    }
    EXPECT_EQ(h.g.PoseChipX[1], 64);
    EXPECT_EQ(h.g.CommandName[0], "チキンゲーム");
    EXPECT_EQ(h.g.CommandName[5], "リタイア");
    EXPECT_EQ(h.g.ColDarkRed, RGB(90, 30, 40));
    EXPECT_EQ(h.g.ColPink, 0x8F98FF);  // red in the low byte
}

TEST_F(StateTest, SpokenLinesArePilotFirstThenSituation) {
    EXPECT_EQ(h.g.Koe[5][2], "チョクチョク…");
    EXPECT_EQ(h.g.Koe[0][4], "いくよー！");
    EXPECT_EQ(h.g.Koe[6][5], "ドキドキします");
    for (const auto& pilot : h.g.Koe) {
        for (const auto& line : pilot) { EXPECT_FALSE(line.empty()); }
    }
}

TEST(AppDirTest, EndsInExactlyOneSeparator) {
    EXPECT_EQ(with_trailing_separator("/opt/game"), "/opt/game/");
    EXPECT_EQ(with_trailing_separator("/opt/game/"), "/opt/game/");
    EXPECT_EQ(with_trailing_separator("/opt/game//"), "/opt/game/");
    EXPECT_EQ(with_trailing_separator("/"), "/");
}

TEST(AppDirTest, BuildTreeAndInstalledTree) {
    testing::TempDir t;
    t.write("build/game/se/se1.wav", "x");
    EXPECT_EQ(resolve_app_dir(t.path() + "build/game"), t.path() + "build/game/");
    t.write("prefix/bin/.keep", "");
    t.write("prefix/share/sevenchips/bg/bg1.mid", "x");
    EXPECT_EQ(resolve_app_dir(t.path() + "prefix/bin/"), t.path() + "prefix/share/sevenchips/");
}

TEST(AppDirTest, TheInitialiserUsesTheGivenFolder) {
    testing::HeadlessGame h;
    h.g.app_dir_override = h.app.path() + "//";
    h.load();
    EXPECT_EQ(h.g.AppDir, h.app.path());
}

}  // namespace
}  // namespace sc
