// Sky and floor pictures resampled into view-wide bands, and the star field.
#pragma once

struct PlayerState;
struct Surface;

void buildBackdrop();  // for the ViewRect in force; run again after every view set-up
void drawBackdrop(Surface* surface);
void drawStars(const PlayerState& player, Surface* surface);
