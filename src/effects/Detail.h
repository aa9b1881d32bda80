#pragma once
#include <string>

// How finely the cube scene draws its tiles: the option's values and the run's choice.
// The rule that picks each tile's mesh is in MeshChoice.h, auto's policy in AutoDetail.h.
//
//   designed  every tile with its designed mesh: the picture as designed;
//   coarse    a tile whose rounding is small on screen with a coarser mesh, chosen by
//             the radius of its rounding projected in real pixels of the screen (so a
//             taller screen draws finer meshes), the nearest tiles first;
//   auto      the live demo: designed while its frames fit, coarse while they do not.
//
// In every mode a tile wholly out of sight is left out, which changes no pixel.
enum class Detail { Designed, Coarse, Auto };

// The one call that selects the detail of the run. Designed until a program selects
// another: pictures made offline are the designed picture.
void selectDetail(Detail detail);
Detail selectedDetail();

// Reads "designed", "coarse" and, where `withAuto`, "auto"; what it takes, for messages.
bool readDetail(const std::string& text, bool withAuto, Detail& out);
const char* detailTakes(bool withAuto);

// Whether the tiles drawn now are coarse: in coarse detail, and in auto while it says so.
bool coarseTiles();
