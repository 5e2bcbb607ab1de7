// The game window: the state record, the three surfaces, the pictures, the four timers and
// every procedure of the game. The procedures are grouped in files by subsystem:
// shell/ (window, state, composition), sound/, draw/, battle/ and progress/.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "core/loop_client.hpp"
#include "core/platform.hpp"
#include "core/random.hpp"
#include "pixels/surface.hpp"
#include "shell/state.hpp"

namespace sc {

class Catalogue;
class FontEngine;

class Game : public GameState, public LoopClient {
public:
    explicit Game(Platform& platform);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // ---- window and platform (shell/) ----
    Platform& sys;
    std::array<Surface, 3> Display;
    Surface Chip;
    std::array<Surface, 22> Face;
    std::array<Surface, 5> RoboP;
    Surface RogoP, KanbanP;
    Timer Timer1, Timer2, Timer3, Timer4;
    InputQueue input;
    Random rng;
    FontEngine* fonts = nullptr;   // not owned; null draws no text
    // The language of the drawn words, set before Form_Load (the faces are labelled there);
    // null draws the game's own Japanese texts.
    const Catalogue* catalogue = nullptr;
    int ScreenLeft = 16, ScreenTop = 12;  // where Display(0) stands in the window
    bool ended = false;                   // the program has been ended
    std::string ClearFileWritten;         // where the clear file went (empty until written)

    // Options the start-up takes before Form_Load (the desktop and the replay tool set them).
    std::uint64_t seed_value = 0;
    bool seed_from_clock = true;
    std::string app_dir_override;
    // False for a replay that only checks what a run reached: beating the game then leaves
    // no clear file behind.
    bool save_clear_file = true;

    float Rnd() { return rng.next(); }
    void EndProgram();          // stop at once: no further game code runs
    void StopWave();            // the wave call with no sound name
    // The game is over, lost or won: the finished mode, the battle clock stopped, silence.
    void FinishGame();
    void Present();             // show Display(0) as it is now

    // Window events.
    void Form_Load();
    void Timer1_Timer();
    void Display_Click(int Index);
    void Display_KeyDown(int Index, int KeyCode, int Shift);  // battle/commands.cpp

    // The same events as the event loop delivers them.
    void on_load() override { Form_Load(); }
    Timer& timer(int index) override;
    void on_timer(int index) override;
    void on_key(int code) override { Display_KeyDown(0, code, 0); }
    void on_click() override { Display_Click(0); }
    InputQueue& input_queue() override { return input; }
    bool has_ended() const override { return ended; }
    void show() override { Present(); }

    // ---- game state (shell/tables.cpp) ----
    void HenSyoki();
    void Jtouroku(int PX, const std::string& PS, int PA, int PB, int PC, int PY);
    void JLUtouroku(int PX, int PA, int PB, int PC);
    void TekiTouroku(int PX, const std::string& PS, int PA, int PB, int PC, int PY);
    void KoeTouroku();
    void LoadPictures();  // shell/pictures.cpp: decodes the built-in pictures

    // ---- battle screen (shell/compose.cpp) ----
    void SyokiGamen();

    // ---- sound/ ----
    void Ueito(long_t PA);
    void OpenM(int PA);
    void PlayM(int PA);
    void CloseM();
    void Mjyoutai();
    void Play(int PA);
    void Timer3_Timer();
    void Timer4_Timer();
    // The string-command music interface: the reply (if any) goes into reply[0..len-1].
    long mciSendString(const std::string& command, char* reply, int reply_len);

    // ---- draw/ ----
    void PutChip(int PA, int PX, int PY, int PB);
    void PutChipL(int PA, int PX, int PY, int PB);
    void PutC(int PX, int PY, int PA);
    void MojiSyu(int PA, float PB, int PC, long_t PL);
    void Locate(int PA, float PX, float PY, const std::string& PS);
    void Locate(int PA, float PX, float PY, long PS);
    // Draws text on any surface or picture in its own style (Locate's worker).
    void DrawText(Surface& s, float x, float y, const std::string& text);
    void Dodai();
    void Kusa();
    void Senro();
    void MakeWaku(int PX, int PY, int PXX, int PYY);
    void Kage();
    void Tunagi(int PA, int PB);
    void WriteFaceLabels();  // the labels written into the face pictures at start
    void KaoHenka();
    void RoboHyouji(int PA);
    void Jtalk(int PA, int PB);
    void Jtalkcls();

    // ---- battle/ ----
    void Timer2_Timer();
    void UpCommand();
    void DownCommand();
    void TekiKougeki();
    void Tujyo();
    void TestYure();
    void DmEnsyutu();
    // DmEnsyutu's frames for the given faces (1 = struck): they jitter and cry.
    void jitter_faces(const PerPilot<byte_t>& struck);
    void DmKeisan();
    void KaihukuHenka();
    void IkisiniHantei();

    // ---- progress/ ----
    void HpHyouji();
    void JstHyouji();
    void DmHyouji();
    void KerHyouji();
    void TstHyouji();
    void ThpHyouji();
    void TspHyouji();
    void Taosita();
    void LvUp();
    void EndSyori();
    void SavePas();
};

// Text of a number as the game prints it: " 25 ", "-5 ".
std::string format_number(long value);

}  // namespace sc
