// The initialiser and the registration procedures: every table of the game.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "shell/app_dir.hpp"
#include "shell/game.hpp"

namespace sc {

namespace {

bool seed_from_environment(std::uint64_t& seed) {
    const char* text = std::getenv("SEVENCHIPS_SEED");
    if (text == nullptr || text[0] == '\0') { return false; }
    errno = 0;
    char* end = nullptr;
    const unsigned long long v = std::strtoull(text, &end, 10);
    if (text[0] < '0' || text[0] > '9' || *end != '\0' || errno == ERANGE) {
        std::fprintf(stderr, "sevenchips: SEVENCHIPS_SEED=%s is not a whole number; the seed comes from the clock\n",
                     text);
        return false;
    }
    seed = v;
    return true;
}

}  // namespace

void Game::HenSyoki() {
    // 1. One seed for the whole run: the clock's, unless SEVENCHIPS_SEED fixes it (the same
    // keys then play the same game in the window as in the replay tool with that --seed).
    if (seed_from_clock && !seed_from_environment(seed_value)) {
        seed_value = std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count());
    }
    rng.seed(seed_value);
    // 2. The program's folder, ending in exactly one separator.
    AppDir = with_trailing_separator(app_dir_override.empty() ? find_app_dir() : app_dir_override);
    // 3. Colours.
    ColDarkRed = RGB(90, 30, 40);
    ColMint = RGB(144, 208, 192);
    ColOrange = RGB(255, 208, 143);
    ColCream = RGB(255, 240, 191);
    ColPink = RGB(255, 152, 143);
    // 4.
    StartStage = 0;
    // 5. Labels into the face pictures.
    WriteFaceLabels();
    // 6. Row tables.
    ModeValue = {10, 10, 5, 1, 0, 0};
    Cursor = 3;
    PoseChipX = {0, 64, 128};
    ModeChipY = {64, 32, 96, 128, 128, 128};
    // 7. Pilots at their start places.
    for (int i = 0; i < 7; ++i) {
        PilotLevel[i] = 1;
        PilotBob[i] = 1;
        PilotX[i] = short_t(224 + 48 * i);
        PilotPose[i] = 0;
        PilotMode[i] = 2;
        PilotY[i] = short_t(170 + 55 * PilotMode[i]);
        PilotOut[i] = 0;
    }
    // 8. Names of the rows and skills.
    CommandName = {"チキンゲーム", "ショート", "ロング", "スペシャル", "スリーピング", "リタイア"};
    SkillName = {"おまじない", "鼓舞", "-----", "ぱたぽこ", "-----", "自然治癒", "子守歌"};
    // 9. Pilots.
    Jtouroku(0, "メグ", 60, 10, 0, 3);
    Jtouroku(1, "モ・ジャルテ", 70, 10, 3, 3);
    Jtouroku(2, "ヤマモト", 80, 10, 8, 0);
    Jtouroku(3, "チャムス", 60, 10, 5, 5);
    Jtouroku(4, "パウ", 100, 10, 5, 0);
    Jtouroku(5, "カンティーユ", 100, 10, 4, 4);
    Jtouroku(6, "シードパール", 60, 10, 0, 4);
    // 10. Spoken lines.
    KoeTouroku();
    // 11. Level-up gains.
    JLUtouroku(0, 4, 0, 3);
    JLUtouroku(1, 5, 1, 1);
    JLUtouroku(2, 10, 9, 0);
    JLUtouroku(3, 7, 4, 4);
    JLUtouroku(4, 20, 5, 0);
    JLUtouroku(5, 12, 3, 1);
    JLUtouroku(6, 6, 0, 2);
    // 12. Enemies, in the order they are fought; row 8 closes the game.
    TekiTouroku(0, "ミッドナイトクック", 500, 30, 5, 1);
    TekiTouroku(1, "リトル-９Ｃ", 1500, 30, 2, 2);
    TekiTouroku(2, "スザク", 4000, 50, 4, 4);
    TekiTouroku(3, "リトル-９Ｃ・ネオ", 1000, 60, 2, 2);
    TekiTouroku(4, "バギーチップ", 5000, 70, 10, 3);
    TekiTouroku(5, "リトル-９Ｃ・typeＰ", 8000, 110, 2, 2);
    TekiTouroku(6, "スザク・改", 8000, 120, 5, 4);
    TekiTouroku(7, "ユートピア", 9999, 150, 5, 0);
    TekiTouroku(8, "", 7777, 777, 7, 0);
    // 13.
    for (int i = 0; i < 7; ++i) { PilotMaxHp[i] = PilotHp[i]; }
    // 14. The first enemy.
    AliveCount = 7;
    EnemyNo = 0;
    EnemyName = EnemyNames[0];
    EnemyMaxHp = EnemyHpTable[0];
    EnemyHp = EnemyHpTable[0];
    EnemyAttack = EnemyAttackTable[0];
    EnemySpeed = EnemySpeedTable[0];
    EnemyKind = EnemyKindTable[0];
}

void Game::Jtouroku(int PX, const std::string& PS, int PA, int PB, int PC, int PY) {
    PilotName[PX] = PS;
    PilotHp[PX] = short_t(PA);
    PilotSpeed[PX] = short_t(PB);
    PilotShort[PX] = short_t(PC);
    PilotLong[PX] = short_t(PY);
}

void Game::JLUtouroku(int PX, int PA, int PB, int PC) {
    LvHpUp[PX] = byte_t(PA);
    LvShortUp[PX] = byte_t(PB);
    LvLongUp[PX] = byte_t(PC);
}

void Game::TekiTouroku(int PX, const std::string& PS, int PA, int PB, int PC, int PY) {
    EnemyNames[PX] = PS;
    EnemyHpTable[PX] = short_t(PA);
    EnemyAttackTable[PX] = short_t(PB);
    EnemySpeedTable[PX] = short_t(PC);
    EnemyKindTable[PX] = byte_t(PY);
}

void Game::KoeTouroku() {
    Koe[0] = {"ヤッホー！", "キャーッ！", "う～ん…", "おやすみ～", "いくよー！", "がんばるよー！"};
    Koe[1] = {"オーホッホ！", "ぅわ！", "じゃ～ね～", "寝るわね", "さ～てと…", "しょーがないね"};
    Koe[2] = {"ふっ…", "クッ…", "ちっ…", "休むぜ", "いくか…", "みてな…"};
    Koe[3] = {"無敵だぜっ！", "おわー！", "ちっきしょー！", "オレ寝るぞー！", "よっしゃー！", "いくぜーっ！"};
    Koe[4] = {"へっへーん！", "おぅっ！", "もーダメだ…", "はー疲れたー", "よし！", "いってきまッス！"};
    Koe[5] = {"チョオォーック！", "チョ…！", "チョクチョク…", "チョク～", "チョクー！", "チョクク！"};
    Koe[6] = {"あらまあ…", "きゃっ", "ごめんなさーい", "おやすみなさい", "がんばります", "ドキドキします"};
}

}  // namespace sc
