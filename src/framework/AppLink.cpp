#include "AppLink.h"

static TApplicationLink* GLink = nullptr;

TApplicationLink* AppLink() { return GLink; }
void SetAppLink(TApplicationLink* link) { GLink = link; }
