#pragma once
#include <string>

// The GLSL ES 3.00 of the fixed-function pipeline. A program is built for each
// combination of fixed-function features in use (its key: Render.cpp), by defining
// the features' names before these sources.
namespace gles {

extern const char* const vertexSource;
extern const char* const fragmentSource;
extern const char* const windowVertexSource;   // window-space geometry: the wide lines
extern const char* const windowFragmentSource;

} // namespace gles
