// The updater's entry point on POSIX. The command line is not read.
#include "platform/Application.h"

int main() { return framework::RunApplication(); }
