#pragma once

#include <QImage>

#include <cstdint>

// The eyeliner stroke laid along an eyelid curve. Its length runs along the curve and its
// rows across it; the program stretches the rows to the chosen line height and darkens
// the picture by the texture: white keeps the picture, dark darkens it.
//
// The file holds every colour byte lowered by 112 (modulo 256), because the program adds
// 112 with wrap-around when it loads the texture.
class EyelidTexture {
public:
    static constexpr int Width = 256;
    static constexpr int Height = 32;
    static constexpr uint8_t LoadOffset = 112;

    static uint8_t StoredByte(uint8_t wanted) { return uint8_t(wanted - LoadOffset); }
    static uint8_t LoadedByte(uint8_t stored) { return uint8_t(stored + LoadOffset); }

    // The stroke as the program uses it: soft, dark in the middle rows, white at the top
    // and bottom rows, thinning and fading out toward both ends.
    static QImage Loaded();
    // The same picture with every colour byte lowered, as written to the file.
    static QImage Stored();

    // How much of the full darkness lies at (x, y), 0..1.
    static double Coverage(int x, int y);
};
