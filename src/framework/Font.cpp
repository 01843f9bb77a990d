#include "Font.h"

TFont::TFont() = default;

TFont::~TFont() { ReleaseHandle(); }

void TFont::Assign(const TFont& source) {
    if (SameAs(source))
        return;
    FName = source.FName;
    FHeight = source.FHeight;
    FCharset = source.FCharset;
    FColor = source.FColor;
    FStyle = source.FStyle;
    Changed();
}

bool TFont::SameAs(const TFont& other) const {
    return FName == other.FName && FHeight == other.FHeight && FCharset == other.FCharset &&
           FColor == other.FColor && FStyle == other.FStyle;
}

template <class T> static bool Store(T& field, const T& value) {
    if (field == value)
        return false;
    field = value;
    return true;
}

void TFont::SetName(const std::string& value) {
    if (Store(FName, value))
        Changed();
}
void TFont::SetHeight(int value) {
    if (Store(FHeight, value))
        Changed();
}
void TFont::SetCharset(int value) {
    if (Store(FCharset, value))
        Changed();
}
void TFont::SetColor(TColor value) {
    if (Store(FColor, value))
        Changed();
}
void TFont::SetStyle(unsigned value) {
    if (Store(FStyle, value))
        Changed();
}

HFONT TFont::Handle() const {
    if (!FHandle) {
        LOGFONTA log{};
        log.lfHeight = FHeight;
        log.lfWeight = (FStyle & fsBold) ? FW_BOLD : FW_NORMAL;
        log.lfItalic = (FStyle & fsItalic) != 0;
        log.lfUnderline = (FStyle & fsUnderline) != 0;
        log.lfStrikeOut = (FStyle & fsStrikeOut) != 0;
        log.lfCharSet = BYTE(FCharset);
        lstrcpynA(log.lfFaceName, FName.c_str(), LF_FACESIZE);
        FHandle = CreateFontIndirectA(&log);
    }
    return FHandle;
}

void TFont::Changed() {
    ReleaseHandle();
    if (OnChange)
        OnChange();
}

void TFont::ReleaseHandle() const {
    if (FHandle)
        DeleteObject(FHandle);
    FHandle = nullptr;
}

static TEXTMETRICA ScreenMetrics(const TFont& font) {
    TEXTMETRICA metrics{};
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.Handle());
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return metrics;
}

int FontLineHeight(const TFont& font) { return ScreenMetrics(font).tmHeight; }
