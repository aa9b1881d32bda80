#include "Wav.h"
#include <cstdio>

namespace {

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put16(std::vector<uint8_t>& out, int v) {
    out.push_back(static_cast<uint8_t>(v & 0xff));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xff));
}
void putTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

int16_t quantise(float v) {
    return static_cast<int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767));
}

} // namespace

bool writeWav(const std::string& path, const dsp::Stereo& sound) {
    const uint32_t bytes = static_cast<uint32_t>(sound.size() * 4);
    std::vector<uint8_t> out;
    out.reserve(44 + bytes);
    putTag(out, "RIFF");
    put32(out, 36 + bytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 2); // channels
    put32(out, dsp::rate);
    put32(out, dsp::rate * 4); // bytes per second
    put16(out, 4);             // bytes per frame
    put16(out, 16);            // bits per sample
    putTag(out, "data");
    put32(out, bytes);
    for (size_t i = 0; i < sound.size(); ++i) {
        put16(out, quantise(sound.l[i]));
        put16(out, quantise(sound.r[i]));
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}
