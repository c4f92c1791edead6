// The head-up display: score and stage, lock-on icon, lives and the weapon bar.
#pragma once

struct GameWorld;

void DrawHud(GameWorld* world);
