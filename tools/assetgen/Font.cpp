#include "Font.h"
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <algorithm>
#include <cctype>

namespace {

constexpr int firstCode = 33; // the space stays blank
constexpr int lastCode = 126;
// Glyph ink keeps this far from the borders of a designed cell: linear filtering at the
// quad's edge must not pick up the neighbouring cell, and the 28.8-unit pen advance
// leaves neighbouring glyphs just clear of each other.
constexpr int margin = 2;
constexpr int room = fontCell - 2 * margin;

// Renders one glyph into face->glyph->bitmap, scaled by sx across and sy up (1 = as
// designed). At k > 1 the outline hinted for the designed size is drawn k times as large:
// the same shape, finer.
bool render(FT_Face face, int code, double sx = 1, double sy = 1, int k = 1) {
    FT_Matrix m = {static_cast<FT_Fixed>(0x10000 * sx), 0, 0, static_cast<FT_Fixed>(0x10000 * sy)};
    FT_Set_Transform(face, &m, nullptr);
    const FT_Int32 render = k == 1 ? FT_LOAD_RENDER : 0;
    bool ok = FT_Load_Char(face, code, render | FT_LOAD_TARGET_LIGHT) == 0;
    FT_Set_Transform(face, nullptr, nullptr);
    if (ok && k > 1) {
        FT_Matrix larger = {0x10000 * k, 0, 0, 0x10000 * k};
        FT_Outline_Transform(&face->glyph->outline, &larger);
        ok = FT_Render_Glyph(face->glyph, FT_RENDER_MODE_LIGHT) == 0;
    }
    return ok;
}

struct Extent {
    int ascent = 0;  // ink rows above the baseline
    int descent = 0; // ink rows below it
};

// The size is set by the letters and digits; the few taller signs ('|', '`') are
// moved or shrunk into the cell instead.
Extent measure(FT_Face face) {
    Extent e;
    for (int c = firstCode; c <= lastCode; ++c) {
        if (!std::isalnum(c) || !render(face, c)) continue;
        const FT_GlyphSlot g = face->glyph;
        e.ascent = std::max(e.ascent, g->bitmap_top);
        e.descent = std::max(e.descent, static_cast<int>(g->bitmap.rows) - g->bitmap_top);
    }
    return e;
}

// The largest pixel size at which every glyph fits the cell's height.
int chooseSize(FT_Face face, Extent* chosen) {
    for (int size = fontCell; size > 8; --size) {
        FT_Set_Pixel_Sizes(face, 0, size);
        Extent e = measure(face);
        if (e.ascent + e.descent <= room) {
            *chosen = e;
            return size;
        }
    }
    return 0;
}

// A glyph laid out in a designed cell: how much it is narrowed and shrunk, and where its
// pen sits, from the cell's top-left corner.
struct Placing {
    double sx = 1, sy = 1;
    int penX = 0, penY = 0;
};

// Lays glyph `code` out at the designed size the face is set to: centred across, on the
// shared baseline unless that would take it past the margin. Wide glyphs (W, %) are
// narrowed and tall ones shrunk to fit, rather than the whole font made smaller.
bool layOut(FT_Face face, int code, int baseline, Placing& p) {
    if (!render(face, code)) return false;
    const int w = static_cast<int>(face->glyph->bitmap.width);
    const int h = static_cast<int>(face->glyph->bitmap.rows);
    p.sy = h > room ? (room - 1.0) / h : 1.0;
    p.sx = std::min(p.sy, w > room ? (room - 1.0) / w : 1.0);
    if ((p.sx < 1 || p.sy < 1) && !render(face, code, p.sx, p.sy)) return false;
    const FT_GlyphSlot g = face->glyph;
    const int left = (fontCell - static_cast<int>(g->bitmap.width)) / 2;
    const int top = std::clamp(baseline - g->bitmap_top, margin,
                               fontCell - margin - static_cast<int>(g->bitmap.rows));
    p.penX = left - g->bitmap_left;
    p.penY = top + g->bitmap_top;
    return true;
}

// Copies the rendered glyph into the cell of `code`, its pen at (penX, penY) of the cell;
// ink that would fall outside the cell is left out.
void place(Image& atlas, int cell, int code, const FT_GlyphSlot g, int penX, int penY) {
    const FT_Bitmap& bm = g->bitmap;
    const int left = penX + g->bitmap_left, top = penY - g->bitmap_top;
    for (int y = std::max(0, -top); y < static_cast<int>(bm.rows) && top + y < cell; ++y) {
        for (int x = std::max(0, -left); x < static_cast<int>(bm.width) && left + x < cell; ++x) {
            uint8_t v = bm.buffer[y * bm.pitch + x];
            uint8_t* p = atlas.fromTop(fontCellLeft(code, cell) + left + x,
                                       fontCellTop(code, cell) + top + y);
            for (int i = 0; i < 4; ++i)
                p[i] = v;
        }
    }
}

} // namespace

// A larger atlas is the designed one drawn finer: each glyph's designed outline at the
// same place, `cell` / 32 times as large.
Image drawFontAtlas(const std::string& fontFile, int cell) {
    const int k = cell / fontCell;
    Image atlas(16 * cell, 16 * cell, 4);
    FT_Library library;
    if (FT_Init_FreeType(&library)) return Image(0, 0, 4);
    FT_Face face;
    if (FT_New_Face(library, fontFile.c_str(), 0, &face)) {
        FT_Done_FreeType(library);
        return Image(0, 0, 4);
    }

    Extent e;
    if (const int size = chooseSize(face, &e); size > 0) {
        // The font's whole height, ascenders to descenders, is centred in the cell.
        const int baseline = margin + (room - e.ascent - e.descent) / 2 + e.ascent;
        for (int c = firstCode; c <= lastCode; ++c) {
            Placing p;
            if (!layOut(face, c, baseline, p) || (k > 1 && !render(face, c, p.sx, p.sy, k)))
                continue;
            place(atlas, cell, c, face->glyph, k * p.penX, k * p.penY);
        }
    } else {
        atlas = Image(0, 0, 4);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return atlas;
}
