// The scene's tiles without the scene's placement: what the tools measure it against.
#include "effects/CubeVomDraw.h"
#include "texture/Texture.h"

void CubeVom::drawDesignedTiles(const std::vector<Tile>& tiles) const {
    setUpView();
    Ctx lit;
    setUpLight();
    Unit1State unit1;
    unit1.sphereMapOn();
    flareTexture->bind();
    for (const Tile& tile : tiles) {
        glLoadMatrixf(tile.modelview);
        glCallList(tileList);
    }
    unit1.unit1Off();
    glLoadIdentity();
}
