#include "BareTiles.h"
#include "engine/Fx.h"

std::vector<CubeVom::Tile> placedTiles(const Fx& entry, int time) {
    const CubeVom* cube = dynamic_cast<const CubeVom*>(entry.effect);
    if (!cube) return {};
    entry.prepare();
    return cube->placements(time);
}
