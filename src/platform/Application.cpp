#include "platform/Application.h"

namespace framework {

namespace {
Application* g_app = nullptr;
}

Application::Application() { g_app = this; }

Application::~Application() {
  if (g_app == this) g_app = nullptr;
}

Application* CurrentApp() { return g_app; }

int RunApplication() {
  if (g_app != nullptr) g_app->InitInstance();
  return 0;
}

}  // namespace framework
