// velmor2 without a window: start-up as usual, and when an update is due the
// update dialog is confirmed at once. For tests that interrupt an update and
// for timing it. Exit code: 0 updated, 1 failed and rolled back, 2 no update
// due (or another run is updating this installation), 3 the main program
// was running so nothing was done.
#include "app/UpdateApp.h"
#include "platform/ForwardingPlatform.h"
#include "ui/UpdateDlg.h"

namespace {

// The outcome of a confirmed update shows in how it starts the main program:
// with no parameter after a success, with "-v" after a rollback.
class LaunchWatch : public platform::ForwardingPlatform {
 public:
  bool StartMainProgram(const char* parameters) override {
    m_bStarted = true;
    m_bPlain = parameters == nullptr;
    return ForwardingPlatform::StartMainProgram(parameters);
  }
  bool m_bStarted = false;
  bool m_bPlain = false;
};

CUpdateApp theApp;

int Run(LaunchWatch& watch) {
  if (!theApp.PrepareRun()) return 2;
  CUpdateDlg dlg;
  theApp.m_pMainWnd = &dlg;
  dlg.m_pApp = &theApp;
  dlg.OnInitDialog();
  dlg.OnOK();
  theApp.m_pMainWnd = nullptr;
  if (!dlg.IsEnded()) return 3;
  return watch.m_bStarted && watch.m_bPlain ? 0 : 1;
}

}  // namespace

int main() {
  LaunchWatch watch;
  platform::SetCurrent(&watch);
  const int code = Run(watch);
  platform::SetCurrent(nullptr);
  return code;
}
