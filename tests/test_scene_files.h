// Helpers for the scene tests: a scratch working folder with a DATAS folder in it,
// uncompressed 24-bit TGA files written byte by byte, and GL feedback capture.
#pragma once
#include <GL/gl.h>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

// Makes a fresh folder the working directory (with DATAS/ inside) for the test's
// life, so the effects find their asset names there; removed afterwards.
class ScratchDir {
public:
    ScratchDir() : previous(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "scenes-XXXXXX").string();
        if (mkdtemp(pattern.data())) {
            dir = pattern;
            std::filesystem::create_directory(dir / "DATAS");
            std::filesystem::current_path(dir);
        }
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::current_path(previous, ignored);
        if (!dir.empty()) std::filesystem::remove_all(dir, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    bool ok() const { return !dir.empty(); }

private:
    std::filesystem::path previous;
    std::filesystem::path dir;
};

using Rgb = std::array<uint8_t, 3>;

// A read-back pixel as text for failure messages.
inline std::string rgba(const std::array<int, 4>& p) {
    return "(" + std::to_string(p[0]) + ", " + std::to_string(p[1]) + ", " + std::to_string(p[2]) +
           ", " + std::to_string(p[3]) + ")";
}

// Writes an uncompressed 24-bit TGA; pixels[y * w + x] with row 0 first in the file,
// which is the bottom row (t = 0) of the texture.
inline bool writeTga(const std::string& path, int w, int h, const std::vector<Rgb>& pixels) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const uint8_t header[18] = {0,          0,
                                2,          0,
                                0,          0,
                                0,          0,
                                0,          0,
                                0,          0,
                                uint8_t(w), uint8_t(w >> 8),
                                uint8_t(h), uint8_t(h >> 8),
                                24,         0};
    bool ok = std::fwrite(header, 1, 18, f) == 18;
    for (const Rgb& p : pixels) {
        const uint8_t bgr[3] = {p[2], p[1], p[0]};
        ok = ok && std::fwrite(bgr, 1, 3, f) == 3;
    }
    return std::fclose(f) == 0 && ok;
}

inline bool writeSolidTga(const std::string& path, int w, int h, Rgb colour) {
    return writeTga(path, w, h, std::vector<Rgb>(size_t(w) * h, colour));
}

// The polygons that `draw` sends to the rasteriser, in window coordinates.
struct FeedbackPolygon {
    std::vector<std::array<float, 2>> points;
    float minX() const;
    float maxX() const;
    float minY() const;
    float maxY() const;
    float centreX() const { return (minX() + maxX()) / 2; }
    float centreY() const { return (minY() + maxY()) / 2; }
};

inline float FeedbackPolygon::minX() const {
    float v = points.at(0)[0];
    for (const auto& p : points)
        v = p[0] < v ? p[0] : v;
    return v;
}
inline float FeedbackPolygon::maxX() const {
    float v = points.at(0)[0];
    for (const auto& p : points)
        v = p[0] > v ? p[0] : v;
    return v;
}
inline float FeedbackPolygon::minY() const {
    float v = points.at(0)[1];
    for (const auto& p : points)
        v = p[1] < v ? p[1] : v;
    return v;
}
inline float FeedbackPolygon::maxY() const {
    float v = points.at(0)[1];
    for (const auto& p : points)
        v = p[1] > v ? p[1] : v;
    return v;
}

inline std::vector<FeedbackPolygon> feedbackPolygons(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<FeedbackPolygon> out;
    for (GLint i = 0; i < used;) {
        const GLint token = GLint(buffer[size_t(i++)]);
        if (token == GL_POLYGON_TOKEN) {
            const GLint n = GLint(buffer[size_t(i++)]);
            FeedbackPolygon poly;
            for (GLint k = 0; k < n; ++k, i += 2)
                poly.points.push_back({buffer[size_t(i)], buffer[size_t(i) + 1]});
            out.push_back(poly);
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            i += 1;
        } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN ||
                   token == GL_DRAW_PIXEL_TOKEN || token == GL_COPY_PIXEL_TOKEN) {
            i += 2;
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            i += 4;
        } else {
            break; // not a token of the 2D feedback type: stop rather than misread
        }
    }
    return out;
}
