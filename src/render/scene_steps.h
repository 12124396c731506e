// The element steps of a frame, in the order a frame draws them; the first three make up
// the backdrop (render/backdrop.h).
#pragma once

namespace rq {

struct GameApplication;

void DrawBoardPicture(GameApplication& app);
void DrawCapturedPieces(GameApplication& app);
void DrawBoardPieces(GameApplication& app);
void DrawCandidateMarkers(GameApplication& app);
void DrawDraggedPiece(GameApplication& app);
void DrawExplanationBanner(GameApplication& app);
void DrawCrystalBall(GameApplication& app);
void DrawComputerMove(GameApplication& app);
void DrawCommandMenu(GameApplication& app);

}  // namespace rq
