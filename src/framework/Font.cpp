#include "Font.h"

#include <cstring>

TFont::TFont() { FRecord.lfWeight = FW_NORMAL; }

TFont::~TFont() { ReleaseHandle(); }

void TFont::Assign(const TFont& source) {
    if (SameAs(source))
        return;
    FName = source.FName;
    FHeight = source.FHeight;
    FCharset = source.FCharset;
    FColor = source.FColor;
    FStyle = source.FStyle;
    FRecord = source.FRecord;
    Changed();
}

bool TFont::SameAs(const TFont& other) const {
    return FName == other.FName && FHeight == other.FHeight && FCharset == other.FCharset &&
           FColor == other.FColor && FStyle == other.FStyle &&
           std::memcmp(&FRecord, &other.FRecord, sizeof FRecord) == 0;
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

void TFont::SetRecord(const LOGFONTA& record) {
    FRecord = record;
    FName = std::string(record.lfFaceName, strnlen(record.lfFaceName, LF_FACESIZE));
    FHeight = record.lfHeight;
    FCharset = record.lfCharSet;
    FStyle = (record.lfWeight >= FW_BOLD ? unsigned(fsBold) : 0u) |
             (record.lfItalic ? unsigned(fsItalic) : 0u) |
             (record.lfUnderline ? unsigned(fsUnderline) : 0u) |
             (record.lfStrikeOut ? unsigned(fsStrikeOut) : 0u);
    Changed();
}

HFONT TFont::Handle() const {
    if (!FHandle) {
        // The record's weight stands while the bold style agrees with it.
        LOGFONTA log = FRecord;
        bool bold = (FStyle & fsBold) != 0;
        log.lfHeight = FHeight;
        if (bold != (log.lfWeight >= FW_BOLD))
            log.lfWeight = bold ? FW_BOLD : FW_NORMAL;
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
    TWindowContext screen;
    TSelection selected(screen.Handle(), font.Handle());
    GetTextMetricsA(screen.Handle(), &metrics);
    return metrics;
}

int FontLineHeight(const TFont& font) { return ScreenMetrics(font).tmHeight; }
