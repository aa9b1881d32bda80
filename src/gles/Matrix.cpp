#include "gles/Matrix.h"
#include <cmath>

namespace gles {

// Each element summed left to right in single precision, as GL drivers multiply.
Matrix Matrix::product(const Matrix& a, const Matrix& b) {
    Matrix r;
    r.kind = a.kind > b.kind ? a.kind : b.kind;
    for (int i = 0; i < 4; ++i) {
        const float a0 = a.m[i], a1 = a.m[4 + i], a2 = a.m[8 + i], a3 = a.m[12 + i];
        for (int j = 0; j < 4; ++j)
            r.m[4 * j + i] =
                a0 * b.m[4 * j] + a1 * b.m[4 * j + 1] + a2 * b.m[4 * j + 2] + a3 * b.m[4 * j + 3];
    }
    return r;
}

void Matrix::translate(float x, float y, float z) {
    for (int i = 0; i < 4; ++i)
        m[12 + i] = m[i] * x + m[4 + i] * y + m[8 + i] * z + m[12 + i];
}

void Matrix::scale(float x, float y, float z) {
    const Kind made = x == y && y == z ? UniformScale : General;
    if (made > kind) kind = made;
    for (int i = 0; i < 4; ++i) {
        m[i] *= x;
        m[4 + i] *= y;
        m[8 + i] *= z;
    }
}

// GL's rotation about the normalised axis; sine and cosine of
// the angle taken in double precision, then rounded.
void Matrix::rotate(float degrees, float x, float y, float z) {
    const float s = static_cast<float>(std::sin(degrees * M_PI / 180.0));
    const float c = static_cast<float>(std::cos(degrees * M_PI / 180.0));
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length <= 1.0e-4f) return;
    x /= length;
    y /= length;
    z /= length;
    const float xx = x * x, yy = y * y, zz = z * z, xy = x * y, yz = y * z, zx = z * x;
    const float xs = x * s, ys = y * s, zs = z * s, k = 1.0f - c;
    Matrix r;
    r.m[0] = (k * xx) + c;
    r.m[4] = (k * xy) - zs;
    r.m[8] = (k * zx) + ys;
    r.m[1] = (k * xy) + zs;
    r.m[5] = (k * yy) + c;
    r.m[9] = (k * yz) - xs;
    r.m[2] = (k * zx) - ys;
    r.m[6] = (k * yz) + xs;
    r.m[10] = (k * zz) + c;
    multiply(r);
}

void Matrix::normalMatrix(float out[9]) const {
    if (kind != General) {
        // The inverse transpose of a rotation is itself; of a uniform scale s, itself
        // over s squared (taken from the first row).
        const float q = kind == Rigid ? 1.0f
                                      : 1.0f / (m[0] * m[0] + m[4] * m[4] + m[8] * m[8]);
        for (int col = 0; col < 3; ++col)
            for (int r = 0; r < 3; ++r)
                out[col * 3 + r] = kind == Rigid ? m[col * 4 + r] : q * m[col * 4 + r];
        return;
    }
    const double a = m[0], b = m[4], c = m[8];
    const double d = m[1], e = m[5], f = m[9];
    const double g = m[2], h = m[6], i = m[10];
    const double det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    const double q = det != 0 ? 1 / det : 0;
    // rows[r * 3 + col]: the cofactor of row r, column col; the inverse transpose holds
    // each cofactor over the determinant.
    const double rows[9] = {(e * i - f * h), -(d * i - f * g), (d * h - e * g),
                            -(b * i - c * h), (a * i - c * g), -(a * h - b * g),
                            (b * f - c * e), -(a * f - c * d), (a * e - b * d)};
    for (int r = 0; r < 3; ++r)
        for (int col = 0; col < 3; ++col)
            out[col * 3 + r] = static_cast<float>(rows[r * 3 + col] * q);
}

void Matrix::apply(const float in[4], float out[4]) const {
    for (int i = 0; i < 4; ++i)
        out[i] = m[i] * in[0] + m[4 + i] * in[1] + m[8 + i] * in[2] + m[12 + i] * in[3];
}

bool MatrixStack::push() {
    if (depth() >= most) return false;
    stack.push_back(stack.back());
    return true;
}

bool MatrixStack::pop() {
    if (depth() <= 1) return false;
    stack.pop_back();
    return true;
}

} // namespace gles
