// The application object of our small framework layer: one static object per
// program, whose InitInstance the entry point calls exactly once.
#pragma once

#include "platform/Types.h"

namespace framework {

class Dialog;

class Application {
 public:
  Application();  // becomes the current application
  virtual ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The whole run. Returns FALSE so that no message loop follows.
  virtual BOOL InitInstance() = 0;

  Dialog* m_pMainWnd = nullptr;  // the run's main window while it is shown
};

// The application object of this process, or null before it is built.
Application* CurrentApp();

// The body of the entry point: InitInstance once. Returns the exit code, 0.
int RunApplication();

}  // namespace framework
