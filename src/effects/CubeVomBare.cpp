// The scene's tiles without the scene's placement: what the tools measure it against.
#include "effects/CubeVom.h"
#include "texture/Texture.h"

void CubeVom::drawDesignedTiles(const std::vector<const GLfloat*>& modelviews) const {
    setUpView();
    Ctx lit;
    setUpLight();
    Unit1State unit1;
    unit1.sphereMapOn();
    flareTexture->bind();
    for (const GLfloat* modelview : modelviews) {
        glLoadMatrixf(modelview);
        glCallList(tileList);
    }
    unit1.unit1Off();
    glLoadIdentity();
}
