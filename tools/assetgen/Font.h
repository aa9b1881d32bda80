#pragma once
#include "Image.h"
#include <string>

// The demo's bitmap font: a 16 x 16 grid of `cell` x `cell` cells (32 as designed, on a
// 512 x 512 RGBA picture; larger for taller screens, the layout the same in texture
// coordinates). Character code c sits in column c mod 16 and in cell row c / 16 - 2
// counted from the top (t = 1) edge, so codes 32 to 127 fill the top six rows.
// Glyphs are white with alpha equal to coverage on black, because the cards are
// added onto the frame. Returns an empty picture when the font cannot be read.
constexpr int fontCell = 32;
Image drawFontAtlas(const std::string& fontFile, int cell = fontCell);

// Where the cell of a character code starts, from the top-left corner of the picture.
constexpr int fontCellLeft(int code, int cell = fontCell) { return (code % 16) * cell; }
constexpr int fontCellTop(int code, int cell = fontCell) { return (code / 16 - 2) * cell; }
