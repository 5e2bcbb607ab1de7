// What the game asks of the face it draws its text in.
#pragma once
#include "pixels/font_engine.hpp"

namespace sc {

// The game's strings, its tightest texts where they are drawn, and the faces it prefers.
const FaceNeeds& game_face_needs();

}  // namespace sc
