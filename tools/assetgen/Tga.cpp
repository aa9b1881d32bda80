#include "Bytes.h"
#include "Image.h"

namespace {

// Appends one pixel in the file's byte order (blue first).
void putPixel(std::vector<uint8_t>& out, const uint8_t* p, int channels) {
    out.push_back(p[2]);
    out.push_back(p[1]);
    out.push_back(p[0]);
    if (channels == 4) out.push_back(p[3]);
}

bool samePixel(const uint8_t* a, const uint8_t* b, int channels) {
    for (int i = 0; i < channels; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// Packets never cross a row end: readers that decode row by row accept them too.
void encodeRow(std::vector<uint8_t>& out, const uint8_t* row, int width, int channels) {
    int x = 0;
    while (x < width) {
        const uint8_t* p = row + x * channels;
        int run = 1;
        while (x + run < width && run < 128 && samePixel(p, p + run * channels, channels))
            ++run;
        if (run >= 2) {
            out.push_back(static_cast<uint8_t>(127 + run));
            putPixel(out, p, channels);
            x += run;
            continue;
        }
        // A raw packet lasts until two equal neighbours would start a run.
        int count = 1;
        while (x + count < width && count < 128) {
            const uint8_t* q = row + (x + count) * channels;
            if (x + count + 1 < width && samePixel(q, q + channels, channels)) break;
            ++count;
        }
        out.push_back(static_cast<uint8_t>(count - 1));
        for (int i = 0; i < count; ++i)
            putPixel(out, p + i * channels, channels);
        x += count;
    }
}

} // namespace

bool writeTga(const std::string& path, const Image& image, bool runLength) {
    std::vector<uint8_t> out;
    out.push_back(0);                  // no image ID
    out.push_back(0);                  // no colour map
    out.push_back(runLength ? 10 : 2); // true-colour, plain or run-length encoded
    out.insert(out.end(), 5, 0);       // colour-map fields
    putLe16(out, 0);                   // x origin
    putLe16(out, 0);                   // y origin
    putLe16(out, image.width);
    putLe16(out, image.height);
    out.push_back(static_cast<uint8_t>(image.channels * 8));
    out.push_back(image.channels == 4 ? 8 : 0); // alpha bits; origin at the lower left

    const size_t rowBytes = static_cast<size_t>(image.width) * image.channels;
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* row = image.pixels.data() + y * rowBytes;
        if (runLength) {
            encodeRow(out, row, image.width, image.channels);
        } else {
            for (int x = 0; x < image.width; ++x)
                putPixel(out, row + x * image.channels, image.channels);
        }
    }
    return writeBytes(path, out);
}
