#include "core/replay/LayoutContext.h"

namespace quillon {

namespace {

// Patch number that a build belongs to, for files whose version field is unusable.
uint32_t VersionOfBuild(uint16_t build) {
    if (build >= 6091)
        return 10032;
    if (build >= 6072)
        return 10031;
    if (build >= 6061)
        return 10030;
    if (build >= 6060)
        return 29;
    if (build >= 6059)
        return 26;
    if (build >= 6040)
        return 15;
    if (build >= 6037)
        return 13;
    if (build >= 6031)
        return 7u + (build - 6031u);
    return 6;
}

} // namespace

TActionEra TLayoutContext::Era() const {
    if (Version <= 6)
        return TActionEra::Classic;
    if (Version <= 12)
        return TActionEra::Early;
    if (!NewSelectionIds)
        return TActionEra::Flags16;
    return Has202Metadata && Version >= 10100 ? TActionEra::Renumbered202 : TActionEra::NewSelection;
}

TLayoutContext MakeLayoutContext(uint32_t versionField, uint16_t build) {
    TLayoutContext ctx;
    if (versionField > MaxPlausibleVersionField) {
        ctx.Version = VersionOfBuild(build);
        ctx.NewSelectionIds = build >= 6040;
    } else {
        ctx.Version = versionField;
        ctx.NewSelectionIds = versionField > 14 || (versionField == 14 && build >= 6040);
    }
    return ctx;
}

} // namespace quillon
