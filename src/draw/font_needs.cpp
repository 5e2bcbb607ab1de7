// The game's needs of a face: kept beside the drawing, where the texts and their places are.
#include "draw/font_needs.hpp"

namespace sc {

const FaceNeeds& game_face_needs() {
    static const FaceNeeds needs{
        // What the game prints, a line per kind of text: a face that lacks any of these
        // characters cannot show the game. Another edition's texts are added here.
        .strings =
            {
                "チキンゲーム戦闘不能レベルアップ！おやすみ～う～ん…リトル-９Ｃ・typeＰ鼓舞自然治癒子守歌",
                "Enterキーを押してください",
                "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz!-",
            },
        // The texts with the least room on the screen, each where it is drawn and the last
        // column and row it may ink: the asleep and danger labels inside their 90 x 90 faces,
        // the enemy's largest hit points inside the 100-pixel panel that shows them, a pilot's
        // hit points inside their box. Faces differ most in their digits and Latin letters:
        // some set "Sleeping..." off the face, others a four-digit number past the panel's edge.
        .rooms =
            {
                {"Sleeping...", 11, true, 9, 70, 89, 89},
                {"Danger！", 12, true, 17, 70, 89, 89},
                {" 9999 ", 28, true, 622, 102, 721, 139},
                {" 100 ", 9, true, 48, 433, 77, 444},
            },
        // The faces asked for by name, most wanted first: the one the Debian package brings in
        // (fonts-horai-umefont), then common Japanese Gothic faces. "Ume P Gothic C4" is
        // another face than "Ume P Gothic".
        .named =
            {
                {"Ume P Gothic", "Regular"},
                {"VL PGothic", "Regular"},
                {"IPAPGothic", "Regular"},
                {"IPAexGothic", "Regular"},
                {"Noto Sans CJK JP", "Regular"},
                {"TakaoPGothic", "Regular"},
                {"Ume Gothic", "Regular"},
                {"VL Gothic", "Regular"},
                {"IPAGothic", "Regular"},
            },
    };
    return needs;
}

}  // namespace sc
