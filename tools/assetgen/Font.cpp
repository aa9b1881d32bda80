#include "Font.h"
#include <ft2build.h>
#include FT_FREETYPE_H
#include <algorithm>
#include <cctype>

namespace {

constexpr int firstCode = 33; // the space stays blank
constexpr int lastCode = 126;
// Glyph ink keeps this far from the cell borders: linear filtering at the quad's
// edge must not pick up the neighbouring cell, and the 28.8-unit pen advance
// leaves neighbouring glyphs just clear of each other.
constexpr int margin = 2;
constexpr int room = fontCell - 2 * margin;

// Renders one glyph into face->glyph->bitmap, scaled by sx across and sy up (1 = as designed).
bool render(FT_Face face, int code, double sx = 1, double sy = 1) {
    FT_Matrix m = {static_cast<FT_Fixed>(0x10000 * sx), 0, 0, static_cast<FT_Fixed>(0x10000 * sy)};
    FT_Set_Transform(face, &m, nullptr);
    bool ok = FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) == 0;
    FT_Set_Transform(face, nullptr, nullptr);
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

// Copies the rendered glyph into its cell: centred across, on the shared baseline
// unless that would take it past the margin.
void place(Image& atlas, int code, const FT_GlyphSlot g, int baseline) {
    const FT_Bitmap& bm = g->bitmap;
    const int w = static_cast<int>(bm.width);
    const int h = static_cast<int>(bm.rows);
    const int left = fontCellLeft(code) + (fontCell - w) / 2;
    const int top =
        fontCellTop(code) + std::clamp(baseline - g->bitmap_top, margin, fontCell - margin - h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t v = bm.buffer[y * bm.pitch + x];
            uint8_t* p = atlas.fromTop(left + x, top + y);
            for (int i = 0; i < 4; ++i)
                p[i] = v;
        }
    }
}

} // namespace

Image drawFontAtlas(const std::string& fontFile) {
    Image atlas(16 * fontCell, 16 * fontCell, 4);
    FT_Library library;
    if (FT_Init_FreeType(&library)) return Image(0, 0, 4);
    FT_Face face;
    if (FT_New_Face(library, fontFile.c_str(), 0, &face)) {
        FT_Done_FreeType(library);
        return Image(0, 0, 4);
    }

    Extent e;
    if (chooseSize(face, &e) > 0) {
        // The font's whole height, ascenders to descenders, is centred in the cell.
        const int baseline = margin + (room - e.ascent - e.descent) / 2 + e.ascent;
        for (int c = firstCode; c <= lastCode; ++c) {
            if (!render(face, c)) continue;
            // Wide glyphs (W, %) are narrowed and tall ones shrunk to fit, rather
            // than the whole font made smaller.
            const int w = static_cast<int>(face->glyph->bitmap.width);
            const int h = static_cast<int>(face->glyph->bitmap.rows);
            const double sy = h > room ? (room - 1.0) / h : 1.0;
            const double sx = std::min(sy, w > room ? (room - 1.0) / w : 1.0);
            if ((sx < 1 || sy < 1) && !render(face, c, sx, sy)) continue;
            place(atlas, c, face->glyph, baseline);
        }
    } else {
        atlas = Image(0, 0, 4);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return atlas;
}
