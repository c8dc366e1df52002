// The game's own pictures by file name: their size and which way their rows
// are stored, so the converter can show them upright without being told.
#pragma once

enum class KnownRows { TopDown, BottomUp, Turned };

struct KnownPicture {
  int width, height;
  KnownRows rows;
};

// The picture the game loads under the file name of `path` (folders are
// ignored; the name is matched exactly, as the game opens it), or null.
const KnownPicture* findKnownPicture(const char* path);
