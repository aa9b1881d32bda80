#pragma once
// What a flash draws over the frame D beneath it, by its mode: the one statement of the
// modes, for the effect and for whoever lists the show's flashes. c is the flash's
// intensity, which swells as sin(p x 3.1415) over the entry, p its progress through it.
enum class FlashKind {
    White,     // mode 0: D + c
    Inverting, // modes 1 and 2: c(1 - D) + D x D, and c x c + D(1 - D)
    Unchanged, // mode 3: c D + D(1 - c) = D, though it still clears the depth buffer and
               // leaves its blend function and colour set
    FadeIn,    // mode 4: D x p, in from black
    FadeOut,   // every other mode, negative ones too: D(1 - p), out to black
};

constexpr FlashKind flashKind(int mode) {
    switch (mode) {
    case 0:
        return FlashKind::White;
    case 1:
    case 2:
        return FlashKind::Inverting;
    case 3:
        return FlashKind::Unchanged;
    case 4:
        return FlashKind::FadeIn;
    default:
        return FlashKind::FadeOut;
    }
}

// Whether the intensity swells and fades (else it is the progress itself).
constexpr bool swells(FlashKind kind) {
    return kind != FlashKind::FadeIn && kind != FlashKind::FadeOut;
}

// The modes the script names.
namespace flashMode {
constexpr int white = 0, fadeIn = 4, fadeOut = 5;
}
