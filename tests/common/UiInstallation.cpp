#include "common/UiInstallation.h"

#include "common/Korvan.h"
#include "platform/Platform.h"

namespace testing_support {

namespace ui_text {
const char kTitle[] = "velmor 更新 (バージョン 1.0.0)";
const char kHeading[] = "表示ソnoteの新しいバージョンがあります。";
const char kLocalLabel[] = "現在";
const char kServerLabel[] = "新版";
const char kButton[] = "更新開始";
const char kReady[] = "更新します。\r\n[更新開始] を押してください。";
const char kRunning[] = "korvan が起動中です。\r\n終了してから押してください。";
const char kUpdating[] = "更新しています。\r\nお待ちください。";
const char kLocalStamp[] = "1.0.0";
const char kServerStamp[] = "1.0.1";
const char kMenuItem[] = "velmor のﾊﾞｰｼﾞｮﾝ情報(&A)...";
}  // namespace ui_text

namespace {

const char kCatalogue[] =
    "IDC_APLNAME=velmor 更新 (バージョン %s)\r\n"
    "IDC_LB001=表示ソnoteの新しいバージョンがあります。\r\n"
    "IDC_LB002=現在\r\n"
    "IDC_LB003=新版\r\n"
    "IDC_BT001=更新開始\r\n"
    "MG921000=更新します。\\n[更新開始] を押してください。\r\n"
    "ME921001=korvan が起動中です。\\n終了してから押してください。\r\n"
    "MG921001=更新しています。\\nお待ちください。\r\n";

// The catalogue in the code page velmor2 runs with: 932 under Wine's
// Japanese locale; UTF-8 for the terminal tests, which start it under a
// UTF-8 locale.
std::string CatalogueBytes() {
#ifdef _WIN32
  return platform::Current().FromUtf8(kCatalogue);
#else
  return kCatalogue;
#endif
}

bool IsKorvanRecord(const std::string& relative) {
  return relative.find("korvan-runs.txt") != std::string::npos ||
         relative.find("korvan-stay-ms.txt") != std::string::npos;
}

}  // namespace

UiInstallation::UiInstallation() {
  WriteFile(Local("VERSION.INI"), std::string(ui_text::kLocalStamp) + "\r\n");
  MakeFolders(Join(Root(), "X/LOG"));
  WriteFile(Local("a.dat"), "old a\r\n");
  WriteFile(Local("translations/velmor_00.ini"), CatalogueBytes());
  WriteFile(Server("VERSION.INI"), std::string(ui_text::kServerStamp) + "\r\n");
  WriteFile(Server("a.dat"), "new a\r\n");
  WriteFile(Server("SUB/b.dat"), "new b\r\n");
  m_drive = std::make_unique<MappedDrive>(Join(Root(), "SRV"));
  m_mutexes = std::make_unique<PrivateMutexes>(Join(Root(), "MUTEX"));
  MakeFolders(Join(Root(), "MUTEX"));
  MakeFolders(RunningMainFolder());
  WriteFile(Local("ZOLENV.INI"), ZolEnv(0, 3, m_drive->Letter()));
  m_bOk = m_drive->Ok() && InstallKorvan(Local()) && InstallKorvan(RunningMainFolder());
}

UiInstallation::~UiInstallation() = default;

std::string UiInstallation::Local(const std::string& relative) const {
  return Join(Root(), relative.empty() ? "X/APLI" : "X/APLI/" + relative);
}

std::string UiInstallation::Server(const std::string& relative) const {
  return Join(Root(), relative.empty() ? "SRV/ZOLDATA/APLI" : "SRV/ZOLDATA/APLI/" + relative);
}

std::vector<std::string> UiInstallation::ChildEnv() const {
  std::vector<std::string> env = m_drive->Env();
  for (const std::string& e : m_mutexes->Env()) env.push_back(e);
  return env;
}

std::map<std::string, std::string> UiInstallation::State() const {
  std::map<std::string, std::string> state;
  for (const auto& entry : Snapshot(Join(Root(), "X"))) {
    if (!IsKorvanRecord(entry.first)) state.insert(entry);
  }
  for (const auto& entry : Snapshot(Join(Root(), "SRV"))) state["SRV/" + entry.first] = entry.second;
  return state;
}

bool UiInstallation::Updated() const {
  return ReadFile(Local("VERSION.INI")) == ReadFile(Server("VERSION.INI")) &&
         ReadFile(Local("a.dat")) == "new a\r\n" && ReadFile(Local("SUB/b.dat")) == "new b\r\n";
}

std::string UiInstallation::RunningMainFolder() const { return Join(Root(), "RUNNING"); }

}  // namespace testing_support
