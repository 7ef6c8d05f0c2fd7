#include "platform/Platform.h"

namespace platform {

namespace {
Platform* g_current = nullptr;
}

Platform& Current() { return g_current != nullptr ? *g_current : Native(); }

void SetCurrent(Platform* p) { g_current = p; }

}  // namespace platform
