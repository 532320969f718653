// One-shot failures that tests provoke, to reach the paths a real system takes when it runs out.
#include "platform/gdi/gdi_probe.h"

namespace pibo::gdi {

namespace {

unsigned g_pending = 0;

unsigned Bit(GdiFault fault) {
    return 1u << static_cast<unsigned>(fault);
}

} // namespace

void FailNext(GdiFault fault) {
    g_pending |= Bit(fault);
}

bool TakeFault(GdiFault fault) {
    if ((g_pending & Bit(fault)) == 0)
        return false;
    g_pending &= ~Bit(fault);
    return true;
}

} // namespace pibo::gdi
