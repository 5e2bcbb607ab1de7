// The game window: load, the start-up sequence, clicks and ending the program.
#include "shell/game.hpp"

namespace sc {

Game::Game(Platform& platform) : sys(platform) {
    for (auto& d : Display) { d = Surface(768, 576); }
    Chip = Surface(192, 192);
    for (auto& f : Face) { f = Surface(90, 90); }
    for (auto& r : RoboP) { r = Surface(127, 127); }
    RogoP = Surface(64, 64);
    KanbanP = Surface(320, 96);
}

Game::~Game() = default;

void Game::Form_Load() {
    // The window is 800 x 600 with a black ground; the three surfaces are 768 x 576 at
    // (16, 12), black (the platform shows Display(0) there).
    for (LoopI = 0; LoopI <= 2; ++LoopI) {
        Surface& d = Display[LoopI];
        if (d.width() == 768 && d.height() == 576) {
            // Cleared where it stands: new memory costs a page fault per 4 KiB at start-up.
            d.fill(0);
            d.DrawWidth = 1;
            d.text = TextStyle{};
        } else {
            d = Surface(768, 576);
            d.touch();
        }
    }
    ScreenLeft = 16;
    ScreenTop = 12;
    LoadPictures();
    HenSyoki();
    Timer1.set_interval(1);
}

void Game::Timer1_Timer() {
    if (StartStage == 0) {
        GameMode = 5;
        fill_box(Display[0], 0, 0, 768, 576, QBColor(0));
        BitBlt(Display[0], 224, 182, 320, 96, KanbanP, 0, 0, SRCCOPY);
        Ueito(200);
        Play(5);
        // The logo rises: its bottom edge stays on y 374 while more of it shows.
        for (LoopI = 4; LoopI <= 64; LoopI += 10) {
            BitBlt(Display[0], 352, 374 - LoopI, 64, LoopI, RogoP, 0, 0, SRCCOPY);
            Ueito(30);
        }
        Timer1.set_interval(2000);
        StartStage = 1;
    } else if (StartStage == 1) {
        SyokiGamen();
        Timer1.set_interval(0);
        Timer2.set_interval(100);
        Timer3.set_interval(3000);
        OpenM(1);
        PlayM(0);
        GameMode = 0;
    }
}

Timer& Game::timer(int index) {
    switch (index) {
        case 0: return Timer1;
        case 1: return Timer2;
        case 2: return Timer3;
        default: return Timer4;
    }
}

void Game::on_timer(int index) {
    switch (index) {
        case 0: Timer1_Timer(); break;
        case 1: Timer2_Timer(); break;
        case 2: Timer3_Timer(); break;
        default: Timer4_Timer(); break;
    }
}

void Game::Display_Click(int /*Index*/) {
    StopWave();
    PlayM(1);
    CloseM();
    EndProgram();
}

void Game::EndProgram() {
    ended = true;
    Timer1.set_interval(0);
    Timer2.set_interval(0);
    Timer3.set_interval(0);
    Timer4.set_interval(0);
}

void Game::FinishGame() {
    GameMode = 2;
    QuitStage = 1;
    Timer2.set_interval(0);
    StopWave();
    PlayM(1);
    CloseM();
}

void Game::StopWave() { sys.waves().stop(); }

void Game::Present() { sys.present(Display[0], ScreenLeft, ScreenTop); }

}  // namespace sc
