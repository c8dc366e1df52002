// The frame cycle: the pass's rules (game/rules.h) with the view, texts,
// sounds, capture and win screens drawn around them, once per main-loop pass.
#pragma once

int runFrame();

// The win screen: the meadow over the whole surface, first stored row at the bottom.
void paintMeadowScreen();
