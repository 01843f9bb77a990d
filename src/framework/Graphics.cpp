#include "Graphics.h"

#include <cstdlib>

static bool PlatformHighContrastOn() {
    HIGHCONTRASTA contrast{sizeof contrast, 0, nullptr};
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

bool (*HighContrastOn)() = PlatformHighContrastOn;

// Perceived brightness, 0 to 255.
static int Brightness(COLORREF color) {
    return (GetRValue(color) * 299 + GetGValue(color) * 587 + GetBValue(color) * 114) / 1000;
}

TColor ReadableTextColor(TColor font, TColor background) {
    bool fixedOnSystem = font >= 0 && background < 0;
    if (!fixedOnSystem)
        return font;
    // A quarter of the range: black on the default window's white stays, black on black goes.
    bool vanishes =
        std::abs(Brightness(ColorToRGB(font)) - Brightness(ColorToRGB(background))) < 64;
    return vanishes || HighContrastOn() ? clWindowText : font;
}
