#include "gles/Shaders.h"

namespace gles {

// Per-vertex lighting of GL 1.x for the one light (local viewer off, one side):
//   c = emission + scene ambient * ambient_m
//       + ambient_l * ambient_m + max(n.VP, 0) diffuse_l * diffuse_m
//       + (n.VP > 0) max(n.h, 0)^shininess specular_l * specular_m,
// VP the unit vector to the light, h = normalise(VP + (0, 0, 1)), alpha the material's
// diffuse alpha, each colour clamped to [0, 1]. The normal is the modelview's inverse
// transpose times the current normal, not renormalised (GL_NORMALIZE is off).
// Sphere-map texture generation: u the unit vector to the vertex, r = u - 2 n (n.u),
// m = 2 sqrt(rx^2 + ry^2 + (rz + 1)^2), (s, t) = (rx / m + 1/2, ry / m + 1/2).
const char* const vertexSource = R"(
precision highp float;
in vec4 a_pos;
in vec3 a_normal;
in vec4 a_color;
in vec2 a_tex;
uniform mat4 u_mvp;
uniform mat4 u_mv;
uniform mat3 u_nm;
uniform vec4 u_lightPos;
uniform vec4 u_base;     // emission + scene ambient * material ambient
uniform vec4 u_ambient;  // light ambient * material ambient
uniform vec4 u_diffuse;  // light diffuse * material diffuse
uniform vec4 u_specular; // light specular * material specular
uniform vec4 u_emission;
uniform vec4 u_sceneAmbient;
uniform vec4 u_lightAmbient;
uniform vec4 u_lightDiffuse;
uniform float u_shininess;
uniform float u_light0; // 1 when GL_LIGHT0 is on
out vec4 v_color;
out vec4 v_tex0; // (s, t, 0, q): sampled projectively, as fixed-function texturing does
out vec4 v_tex1;

vec2 sphereMap(vec3 eye, vec3 n) {
    vec3 u = normalize(eye);
    vec3 r = u - 2.0 * dot(n, u) * n;
    vec3 q = r + vec3(0.0, 0.0, 1.0);
    float half_m = 0.5 * inversesqrt(dot(q, q));
    return r.xy * half_m + 0.5;
}

void main() {
    gl_Position = u_mvp * a_pos;
    vec3 eye = (u_mv * a_pos).xyz;
    vec3 n = u_nm * a_normal;
#ifdef LIGHTING
#ifdef COLOR_MATERIAL
    vec4 base = u_emission + u_sceneAmbient * a_color;
    vec4 ambient = u_lightAmbient * a_color;
    vec4 diffuse = u_lightDiffuse * a_color;
    float alpha = a_color.a;
#else
    vec4 base = u_base;
    vec4 ambient = u_ambient;
    vec4 diffuse = u_diffuse;
    float alpha = u_diffuse.a;
#endif
    vec3 VP = u_lightPos.w == 0.0 ? normalize(u_lightPos.xyz) : normalize(u_lightPos.xyz - eye);
    float nl = dot(n, VP);
    vec4 c = base + u_light0 * ambient;
    if (nl > 0.0) {
        c += u_light0 * nl * diffuse;
        float nh = max(dot(n, normalize(VP + vec3(0.0, 0.0, 1.0))), 0.0);
        c += u_light0 * (u_shininess == 0.0 ? 1.0 : pow(nh, u_shininess)) * u_specular;
    }
    v_color = vec4(clamp(c.rgb, 0.0, 1.0), clamp(alpha, 0.0, 1.0));
#else
    v_color = clamp(a_color, 0.0, 1.0);
#endif
    v_tex0 = vec4(a_tex, 0.0, 1.0);
    v_tex1 = vec4(0.0, 0.0, 0.0, 1.0);
#if defined(GEN0_S) || defined(GEN0_T)
    vec2 g0 = sphereMap(eye, n);
#ifdef GEN0_S
    v_tex0.x = g0.x;
#endif
#ifdef GEN0_T
    v_tex0.y = g0.y;
#endif
#endif
#if defined(GEN1_S) || defined(GEN1_T)
    vec2 g1 = sphereMap(eye, n);
#ifdef GEN1_S
    v_tex1.x = g1.x;
#endif
#ifdef GEN1_T
    v_tex1.y = g1.y;
#endif
#endif
}
)";

// Texture environments GL_MODULATE (colour times texel) and GL_REPLACE (the texel; the
// fragment's alpha kept for a texture without alpha). GL_CLAMP, absent from ES, is
// GL_CLAMP_TO_EDGE times the share of the filter footprint inside the texture: the
// border it would blend in is transparent black.
const char* const fragmentSource = R"(
precision highp float;
in vec4 v_color;
in vec4 v_tex0;
in vec4 v_tex1;
uniform sampler2D u_sampler0;
uniform sampler2D u_sampler1;
uniform vec2 u_size0;
uniform vec2 u_size1;
uniform float u_alphaRef;
out vec4 fragColor;

vec2 inside(vec2 tc, vec2 size) {
    vec2 u = clamp(tc, 0.0, 1.0) * size;
    return min(u + 0.5, 1.0) * min(size - u + 0.5, 1.0);
}

vec4 texel(sampler2D s, vec4 tc, vec2 size, bool clampS, bool clampT) {
    vec4 t = textureProj(s, tc.xyw);
    vec2 w = inside(tc.xy / tc.w, size);
    return t * ((clampS ? w.x : 1.0) * (clampT ? w.y : 1.0));
}

vec4 apply(vec4 c, vec4 t, bool replace, bool alpha) {
    if (replace) return alpha ? t : vec4(t.rgb, c.a);
    return c * t;
}

void main() {
    vec4 c = v_color;
#ifdef TEX0
    c = apply(c, texel(u_sampler0, v_tex0, u_size0, CLAMP0_S, CLAMP0_T), REPLACE0, ALPHA0);
#endif
#ifdef TEX1
    c = apply(c, texel(u_sampler1, v_tex1, u_size1, CLAMP1_S, CLAMP1_T), REPLACE1, ALPHA1);
#endif
#ifdef ALPHA_TEST
    if (!(ALPHA_TEST)) discard;
#endif
    fragColor = c;
}
)";

const char* const windowVertexSource = R"(
precision highp float;
in vec4 a_pos;
in vec4 a_color;
out vec4 v_color;
void main() {
    gl_Position = a_pos;
    v_color = a_color;
}
)";

const char* const windowFragmentSource = R"(
precision highp float;
in vec4 v_color;
out vec4 fragColor;
void main() { fragColor = v_color; }
)";

} // namespace gles
