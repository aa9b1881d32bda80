// Polygon line mode and wide lines, on the CPU: each edge becomes a quad in window space,
// rasterised as GL's software renderer draws a wide line. The line grows along its minor
// axis (an x-major line grows vertically) by half the width, rounded to whole pixels, each
// way; each end moves by up to half a pixel along the major axis so that the end pixels
// follow the diamond-exit rule; depth and colour follow the major axis, the same all
// across the line.
#include "gles/Context.h"
#include <cmath>

namespace gles {

namespace {

struct Point {
    float clip[4];
    float color[4];
};

struct WindowPoint {
    float x, y, z;
    float color[4];
};

float fracf(float f) { return f - std::floor(f); }
float signOf(float x) { return x < 0 ? -1.0f : 1.0f; }

// Clips the segment to the view volume in clip coordinates; false when nothing is left.
bool clipSegment(Point& a, Point& b) {
    float t0 = 0, t1 = 1;
    const float* p = a.clip;
    const float* q = b.clip;
    for (int axis = 0; axis < 3; ++axis)
        for (float side : {-1.0f, 1.0f}) {
            // Inside when w - side * coordinate >= 0.
            const float da = p[3] - side * p[axis];
            const float db = q[3] - side * q[axis];
            if (da < 0 && db < 0) return false;
            if (da < 0) t0 = std::fmax(t0, da / (da - db));
            if (db < 0) t1 = std::fmin(t1, da / (da - db));
        }
    if (t0 > t1) return false;
    Point na = a, nb = b;
    for (int i = 0; i < 4; ++i) {
        na.clip[i] = p[i] + t0 * (q[i] - p[i]);
        nb.clip[i] = p[i] + t1 * (q[i] - p[i]);
        na.color[i] = a.color[i] + t0 * (b.color[i] - a.color[i]);
        nb.color[i] = a.color[i] + t1 * (b.color[i] - a.color[i]);
    }
    a = na;
    b = nb;
    return true;
}

WindowPoint toWindow(const Point& p) {
    const GLint* v = state().viewport;
    const float halfW = v[2] * 0.5f, halfH = v[3] * 0.5f;
    // As GL's software renderer maps a vertex: times 1 / w, then scaled and moved.
    const float iw = 1.0f / p.clip[3];
    WindowPoint w;
    w.x = p.clip[0] * iw * halfW + (v[0] + halfW);
    w.y = p.clip[1] * iw * halfH + (v[1] + halfH);
    w.z = p.clip[2] * iw * 0.5f + 0.5f;
    for (int i = 0; i < 4; ++i)
        w.color[i] = p.color[i];
    return w;
}

// A corner of the line's quad in normalised device coordinates, its depth and colour
// those of the line at the corner's place along the major axis.
Vertex corner(const WindowPoint& a, const WindowPoint& b, float x, float y) {
    const GLint* v = state().viewport;
    const float halfW = v[2] * 0.5f, halfH = v[3] * 0.5f;
    const float dx = a.x - b.x, dy = a.y - b.y;
    const float along = std::fabs(dx) >= std::fabs(dy) ? (x - a.x) / dx : (y - a.y) / dy;
    Vertex out{};
    out.pos[0] = (x - (v[0] + halfW)) / halfW;
    out.pos[1] = (y - (v[1] + halfH)) / halfH;
    out.pos[2] = (a.z + along * (a.z - b.z)) * 2 - 1;
    out.pos[3] = 1;
    for (int i = 0; i < 4; ++i)
        out.color[i] = a.color[i] + along * (a.color[i] - b.color[i]);
    return out;
}

// The quad of the line from v1 to v2, as two triangles.
void wideLine(WindowPoint v1, WindowPoint v2, std::vector<Vertex>& out) {
    float dx = v1.x - v2.x, dy = v1.y - v2.y;
    if (dx * dx + dy * dy == 0) return;
    const float half = std::round(std::fmax(1.0f, state().lineWidth)) * 0.5f;
    const WindowPoint a = v1, b = v2; // for the attributes
    float xo = 0, yo = 0, xoEnd = 0, yoEnd = 0;
    const float x1d = v1.x - std::floor(v1.x) - 0.5f, y1d = v1.y - std::floor(v1.y) - 0.5f;
    float x2d = v2.x - std::floor(v2.x) - 0.5f, y2d = v2.y - std::floor(v2.y) - 0.5f;
    bool drawStart, drawEnd, willStart, willEnd;
    if (std::fabs(dx) >= std::fabs(dy)) {
        const float dydx = dy / dx;
        if (y2d == -0.5f && dy < 0) y2d = 0.5f;
        if (std::fabs(x1d) + std::fabs(y1d) < 0.5f)
            drawStart = true;
        else if (signOf(x1d) == signOf(-dx))
            drawStart = false;
        else if (signOf(-y1d) != signOf(dy))
            drawStart = true;
        else {
            const float yi = fracf(v1.y) + x1d * dydx;
            drawStart = yi < 1.0f && yi > 0.0f;
        }
        if (std::fabs(x2d) + std::fabs(y2d) < 0.5f)
            drawEnd = false;
        else if (signOf(x2d) != signOf(-dx))
            drawEnd = false;
        else if (signOf(-y2d) == signOf(dy))
            drawEnd = true;
        else {
            const float yi = fracf(v2.y) + x2d * dydx;
            drawEnd = yi < 1.0f && yi > 0.0f;
        }
        willStart = signOf(-x1d) != signOf(dx);
        willEnd = signOf(x2d) == signOf(-dx) || x2d == 0;
        if (dx < 0) {
            std::swap(v1, v2);
            if (willStart != drawStart) xoEnd = -x1d - 0.5f, yoEnd = xoEnd * dydx;
            if (willEnd != drawEnd) xo = -x2d - 0.5f, yo = xo * dydx;
        } else {
            if (willStart != drawStart) xo = -x1d + 0.5f, yo = xo * dydx;
            if (willEnd != drawEnd) xoEnd = -x2d + 0.5f, yoEnd = xoEnd * dydx;
        }
        const Vertex c0 = corner(a, b, v1.x + xo, v1.y + yo - half);
        const Vertex c1 = corner(a, b, v2.x + xoEnd, v2.y + yoEnd - half);
        const Vertex c2 = corner(a, b, v2.x + xoEnd, v2.y + yoEnd + half);
        const Vertex c3 = corner(a, b, v1.x + xo, v1.y + yo + half);
        out.insert(out.end(), {c0, c1, c2, c0, c2, c3});
        return;
    }
    const float dxdy = dx / dy;
    if (x2d == -0.5f && dx < 0) x2d = 0.5f;
    if (std::fabs(x1d) + std::fabs(y1d) < 0.5f)
        drawStart = true;
    else if (signOf(-y1d) == signOf(dy))
        drawStart = false;
    else if (signOf(x1d) != signOf(-dx))
        drawStart = true;
    else {
        const float xi = fracf(v1.x) + y1d * dxdy;
        drawStart = xi < 1.0f && xi > 0.0f;
    }
    if (std::fabs(x2d) + std::fabs(y2d) < 0.5f)
        drawEnd = false;
    else if (signOf(-y2d) != signOf(dy))
        drawEnd = false;
    else if (signOf(x2d) == signOf(-dx))
        drawEnd = true;
    else {
        const float xi = fracf(v2.x) + y2d * dxdy;
        drawEnd = xi < 1.0f && xi >= 0.0f;
    }
    willStart = signOf(y1d) == signOf(dy);
    willEnd = signOf(-y2d) == signOf(dy) || y2d == 0;
    if (dy > 0) {
        std::swap(v1, v2);
        if (willStart != drawStart) yoEnd = -y1d + 0.5f, xoEnd = yoEnd * dxdy;
        if (willEnd != drawEnd) yo = -y2d + 0.5f, xo = yo * dxdy;
    } else {
        if (willStart != drawStart) yo = -y1d - 0.5f, xo = yo * dxdy;
        if (willEnd != drawEnd) yoEnd = -y2d - 0.5f, xoEnd = yoEnd * dxdy;
    }
    const Vertex c0 = corner(a, b, v1.x + xo - half, v1.y + yo);
    const Vertex c1 = corner(a, b, v2.x + xoEnd - half, v2.y + yoEnd);
    const Vertex c2 = corner(a, b, v2.x + xoEnd + half, v2.y + yoEnd);
    const Vertex c3 = corner(a, b, v1.x + xo + half, v1.y + yo);
    out.insert(out.end(), {c0, c1, c2, c0, c2, c3});
}

} // namespace

void outlineTriangles(const Triangles& batch, Triangles& filled) {
    const State& s = state();
    if (s.lighting) unsupported("glPolygonMode(GL_LINE) with", GL_LIGHTING);
    for (const TextureUnit& u : s.units)
        if (u.enabled) unsupported("glPolygonMode(GL_LINE) with", GL_TEXTURE_2D);
    const Matrix mvp = Matrix::product(s.projection.top(), s.modelview.top());
    const bool ownColour = batch.fromVertices & (1u << Color);
    static std::vector<Vertex> quads;
    quads.clear();
    for (size_t k = 0; k * 3 + 2 < batch.vertices.size(); ++k) {
        Point p[3];
        for (int i = 0; i < 3; ++i) {
            const Vertex& v = batch.vertices[k * 3 + i];
            mvp.apply(v.pos, p[i].clip);
            for (int c = 0; c < 4; ++c)
                p[i].color[c] = ownColour ? v.color[c] : s.color[c];
        }
        // The facing in window space: the sign of the determinant of (x, y, w), times
        // the signs of the w; counter-clockwise is front.
        double det = 0;
        for (int i = 0; i < 3; ++i) {
            const float* a = p[i].clip;
            const float* b = p[(i + 1) % 3].clip;
            const float* c = p[(i + 2) % 3].clip;
            det += static_cast<double>(a[0]) * (static_cast<double>(b[1]) * c[3] -
                                                static_cast<double>(b[3]) * c[1]);
        }
        if (p[0].clip[3] * p[1].clip[3] * p[2].clip[3] < 0) det = -det;
        const bool front = det > 0;
        if (s.cullFace && (s.cullFaceMode == GL_FRONT_AND_BACK ||
                           (front ? s.cullFaceMode == GL_FRONT : s.cullFaceMode == GL_BACK)))
            continue;
        if (s.polygonMode[front ? 0 : 1] == GL_FILL) {
            for (int i = 0; i < 3; ++i)
                filled.vertices.push_back(batch.vertices[k * 3 + i]);
            filled.edges.push_back(batch.edges[k]);
            continue;
        }
        // The edges in the order GL's software renderer outlines a triangle.
        for (int e : {2, 0, 1}) {
            if (!(batch.edges[k] & (1u << e))) continue;
            Point a = p[e], b = p[(e + 1) % 3];
            if (clipSegment(a, b)) wideLine(toWindow(a), toWindow(b), quads);
        }
    }
    drawWindowTriangles(quads);
}

} // namespace gles
