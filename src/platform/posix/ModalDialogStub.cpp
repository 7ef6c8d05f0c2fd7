// Placeholder until the dialog backend exists: no window can be shown.
#include "platform/Dialog.h"

namespace framework {
int RunModalDialog(Dialog&) { return -1; }
}  // namespace framework
