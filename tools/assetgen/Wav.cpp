#include "Wav.h"
#include "Bytes.h"

namespace {

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
    putLe32(out, 36 + bytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putLe32(out, 16);
    putLe16(out, 1); // PCM
    putLe16(out, 2); // channels
    putLe32(out, dsp::rate);
    putLe32(out, dsp::rate * 4); // bytes per second
    putLe16(out, 4);             // bytes per frame
    putLe16(out, 16);            // bits per sample
    putTag(out, "data");
    putLe32(out, bytes);
    for (size_t i = 0; i < sound.size(); ++i) {
        putLe16(out, quantise(sound.l[i]));
        putLe16(out, quantise(sound.r[i]));
    }
    return writeBytes(path, out);
}
