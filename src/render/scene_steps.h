// The element steps of a frame, in the order DrawSceneElements calls them.
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
