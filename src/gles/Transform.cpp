// The matrix stacks and GLU's projections.
#include "gles/Context.h"
#include "gles/Lists.h"
#include <GL/glu.h>
#include <cmath>

using namespace gles;

namespace {

MatrixStack& current() {
    return state().matrixMode == GL_PROJECTION ? state().projection : state().modelview;
}

void multiplyDoubles(const double (&m)[16]) {
    Matrix f;
    f.kind = Matrix::General;
    for (int i = 0; i < 16; ++i)
        f.m[i] = static_cast<float>(m[i]);
    current().top().multiply(f);
}

} // namespace

void GLAPIENTRY glMatrixMode(GLenum mode) {
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION) unsupported("glMatrixMode", mode);
    state().matrixMode = mode;
}
void GLAPIENTRY glPushMatrix() {
    if (recordPush()) return;
    if (!current().push()) setError(GL_STACK_OVERFLOW);
}
void GLAPIENTRY glPopMatrix() {
    if (recordPop()) return;
    if (!current().pop()) setError(GL_STACK_UNDERFLOW);
}
void GLAPIENTRY glLoadIdentity() { current().top() = Matrix(); }
void GLAPIENTRY glLoadMatrixf(const GLfloat* m) {
    Matrix& top = current().top();
    for (int i = 0; i < 16; ++i)
        top.m[i] = m[i];
    top.kind = Matrix::General;
}
void GLAPIENTRY glMultMatrixf(const GLfloat* m) {
    Matrix f;
    f.kind = Matrix::General;
    for (int i = 0; i < 16; ++i)
        f.m[i] = m[i];
    current().top().multiply(f);
}
void GLAPIENTRY glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    if (!recordTranslate(x, y, z)) current().top().translate(x, y, z);
}
void GLAPIENTRY glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    glTranslatef(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}
void GLAPIENTRY glScalef(GLfloat x, GLfloat y, GLfloat z) {
    if (!recordScale(x, y, z)) current().top().scale(x, y, z);
}
void GLAPIENTRY glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    if (!recordRotate(angle, x, y, z)) current().top().rotate(angle, x, y, z);
}

// GL's orthographic matrix, in single precision.
void GLAPIENTRY glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    const float left = static_cast<float>(l), right = static_cast<float>(r);
    const float bottom = static_cast<float>(b), top = static_cast<float>(t);
    const float zNear = static_cast<float>(n), zFar = static_cast<float>(f);
    if (left == right || bottom == top || zNear == zFar) return setError(GL_INVALID_VALUE);
    Matrix o;
    o.kind = Matrix::General;
    o.m[0] = 2.0f / (right - left);
    o.m[12] = -(right + left) / (right - left);
    o.m[5] = 2.0f / (top - bottom);
    o.m[13] = -(top + bottom) / (top - bottom);
    o.m[10] = -2.0f / (zFar - zNear);
    o.m[14] = -(zFar + zNear) / (zFar - zNear);
    current().top().multiply(o);
}

void GLAPIENTRY gluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top) {
    glOrtho(left, right, bottom, top, -1, 1);
}

// f = cot(fovy / 2), in double precision, as GLU documents it.
void GLAPIENTRY gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    const double radians = fovy / 2 * M_PI / 180;
    const double deltaZ = zFar - zNear;
    const double sine = std::sin(radians);
    if (deltaZ == 0 || sine == 0 || aspect == 0) return;
    const double cotangent = std::cos(radians) / sine;
    double m[16] = {0};
    m[0] = cotangent / aspect;
    m[5] = cotangent;
    m[10] = -(zFar + zNear) / deltaZ;
    m[11] = -1;
    m[14] = -2 * zNear * zFar / deltaZ;
    multiplyDoubles(m);
}
