#pragma once
// The pieces of the cube scene's draw: its lighting scope, texture unit 1's state over
// a draw, and the placement of a tile.
#include "effects/CubeVom.h"
#include "glpp/Guards.h"

// Lighting scope of one draw.
class CubeVom::Ctx : public GLPP::glppEnable<GL_DEPTH_TEST>,
                     public GLPP::glppEnable<GL_LIGHTING>,
                     public GLPP::glppEnable<GL_LIGHT0>,
                     public GLPP::glppEnable<GL_CULL_FACE> {
public:
    Ctx() = default;
    ~Ctx() override = default;
};

// Puts one tile in its place: every transform goes onto the modelview matrix kept here,
// whose last column is then the tile's centre in eye space. The scene places its tiles
// from the identity, and loads these matrices to draw them.
class CubeVom::Placement {
public:
    void translate(float x, float y, float z);
    void rotate(float degrees, float x, float y, float z);
    const float* matrix() const { return m; }
    const float* centre() const { return m + 12; }

private:
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; // column-major, as GL
};

// The state of texture unit 1 over one draw. Its destructor turns unit 1's texturing
// off, makes unit 0 active and then writes back the states it recorded on unit 1,
// which therefore land on unit 0.
class Unit1State {
public:
    // Records unit 1's states; the active unit stays as it was.
    Unit1State();
    ~Unit1State();
    Unit1State(const Unit1State&) = delete;
    Unit1State& operator=(const Unit1State&) = delete;

    // Sphere-mapped texturing on unit 1, which stays active.
    void sphereMapOn();
    // Unit 1 texturing and generation off, then unit 0 active.
    void unit1Off();

    GLint savedUnit;
    GLPP::glppSwitch<GL_TEXTURE_2D>* texture2D;
    GLPP::glppSwitch<GL_TEXTURE_GEN_S>* texGenS;
    GLPP::glppSwitch<GL_TEXTURE_GEN_T>* texGenT;
};
