#pragma once
#include <vector>

// Column-major 4x4 matrices as GL keeps them, and their stacks.
namespace gles {

struct Matrix {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    // What made it, which decides how its normals are found: the inverse of a rotation
    // is its transpose, and GL drivers take it so rather than inverting.
    enum Kind { Rigid, UniformScale, General } kind = Rigid;
    static Matrix product(const Matrix& a, const Matrix& b); // a * b
    void multiply(const Matrix& b) { *this = product(*this, b); }
    void translate(float x, float y, float z);
    void scale(float x, float y, float z);
    void rotate(float degrees, float x, float y, float z);
    // The inverse transpose of the upper 3x3, column-major: the normal matrix.
    void normalMatrix(float out[9]) const;
    void apply(const float in[4], float out[4]) const; // out = m * in
};

class MatrixStack {
public:
    explicit MatrixStack(int depth) : most(depth), stack(1) {}
    Matrix& top() { return stack.back(); }
    const Matrix& top() const { return stack.back(); }
    bool push();
    bool pop();
    int depth() const { return static_cast<int>(stack.size()); }

private:
    int most;
    std::vector<Matrix> stack;
};

} // namespace gles
