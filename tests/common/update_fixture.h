// A small installation for the update transaction tests: local program
// folder, backup folder, server program folder and LOG folder in one
// temporary folder, the stand-in main program in the local folder, and a
// platform wrapper with a fixed clock that can fail chosen copies and file
// reads or writes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/MainControl.h"
#include "app/UpdateApp.h"
#include "catalogue/Catalogue.h"
#include "common/AppTestSupport.h"
#include "common/Korvan.h"
#include "common/TestSupport.h"
#include "platform/ForwardingPlatform.h"
#include "ui/UpdateDlg.h"

namespace update_test {

using Files = std::map<std::string, std::string>;  // relative path ('/') -> bytes

inline const char kStamp[] = "2008/02/01 00:00:01 ";
inline const char kGuidanceRunning[] = "main program running";
inline const char kGuidanceUpdating[] = "updating";

// A file whose reads stop with an error after the first limit bytes.
class ReadFailsAfter : public platform::File {
 public:
  ReadFailsAfter(std::unique_ptr<platform::File> inner, std::size_t limit)
      : m_inner(std::move(inner)), m_left(limit) {}
  long long Read(void* buffer, std::size_t size) override {
    if (m_left == 0) return -1;
    const long long n = m_inner->Read(buffer, size < m_left ? size : m_left);
    if (n > 0) m_left -= static_cast<std::size_t>(n);
    return n;
  }
  bool Write(const void*, std::size_t) override { return false; }
  bool SeekToEnd() override { return false; }
  bool Close() override { return m_inner->Close(); }

 private:
  std::unique_ptr<platform::File> m_inner;
  std::size_t m_left;
};

// An opened file that refuses every write, as a full disk does.
class WriteFails : public platform::File {
 public:
  long long Read(void*, std::size_t) override { return -1; }
  bool Write(const void*, std::size_t) override { return false; }
  bool SeekToEnd() override { return true; }
  bool Close() override { return false; }
};

// A folder's entries in descending byte order of their names: an order the
// file system may give as well as any other, fixed so that a test knows
// where "VERSION.INI" comes in the listing.
class DescendingSearch : public platform::FolderSearch {
 public:
  explicit DescendingSearch(std::unique_ptr<platform::FolderSearch> inner) {
    platform::FolderEntry entry;
    while (inner->Next(entry)) m_entries.push_back(entry);
    std::sort(m_entries.begin(), m_entries.end(),
              [](const auto& a, const auto& b) { return a.name > b.name; });
  }
  bool Next(platform::FolderEntry& entry) override {
    if (m_next == m_entries.size()) return false;
    entry = m_entries[m_next++];
    return true;
  }

 private:
  std::vector<platform::FolderEntry> m_entries;
  std::size_t m_next = 0;
};

// The real backend with a fixed clock; records every copy and can fail the
// n-th copy (1-based) into a folder, and reads or writes of one file.
class UpdatePlatform : public platform::ForwardingPlatform {
 public:
  std::unique_ptr<platform::FolderSearch> SearchFolder(const std::string& folder) override {
    auto inner = ForwardingPlatform::SearchFolder(folder);
    if (!inner || !descending) return inner;
    return std::make_unique<DescendingSearch>(std::move(inner));
  }

  platform::LocalTime Now() override { return platform::LocalTime{2008, 2, 1, 0, 0, 1}; }

  bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override {
    copies.emplace_back(from, to);
    if (!failInto.empty() && to.compare(0, failInto.size(), failInto) == 0 &&
        ++m_seen == failAt)
      return false;
    return ForwardingPlatform::CopyFile(from, to, failIfExists);
  }

  bool FlushFileSystem(const std::string& folder) override {
    flushes.emplace_back(copies.size(), folder);
    return ForwardingPlatform::FlushFileSystem(folder);
  }

  std::unique_ptr<platform::File> OpenFile(const std::string& path, platform::FileAccess access,
                                           platform::FileShare share) override {
    if (path == readFaultPath && access == platform::FileAccess::Read) {
      auto inner = ForwardingPlatform::OpenFile(path, access, share);
      if (!inner) return nullptr;
      return std::make_unique<ReadFailsAfter>(std::move(inner), readFaultAfter);
    }
    if (path == writeFaultPath && access != platform::FileAccess::Read)
      return std::make_unique<WriteFails>();
    return ForwardingPlatform::OpenFile(path, access, share);
  }

  bool descending = false;
  std::vector<std::pair<std::string, std::string>> copies;  // (from, to)
  // (number of copies made before it, folder) of each flush
  std::vector<std::pair<std::size_t, std::string>> flushes;
  std::string failInto;
  int failAt = 0;
  std::string readFaultPath;
  std::size_t readFaultAfter = 0;
  std::string writeFaultPath;

 private:
  int m_seen = 0;
};

// Installs a platform for the object's lifetime.
class Installed {
 public:
  explicit Installed(platform::Platform& p) { platform::SetCurrent(&p); }
  ~Installed() { platform::SetCurrent(nullptr); }
  Installed(const Installed&) = delete;
  Installed& operator=(const Installed&) = delete;
};

// Files the stand-in main program writes into its folder.
inline bool IsKorvanFile(const std::string& rel) {
  return rel == "korvan-runs.txt" || rel == "korvan-stay-ms.txt";
}

class Installation {
 public:
  explicit Installation(int nKind = 2) {
    using namespace testing_support;
    local = tmp / "APLI" + Sep();
    backup = tmp / "APLI_BAK" + Sep();
    server = tmp / "SRV/ZOLDATA/APLI" + Sep();
    log = tmp / "LOG/Velmor.log";
    MakeFolders(tmp / "APLI");
    MakeFolders(tmp / "LOG");
    MakeFolders(tmp / "SRV/ZOLDATA/APLI");
    EXPECT_TRUE(InstallKorvan(local));
    app.m_strLocalVersion = "2024.05.01-build-001";
    app.m_strServerVersion = "2024.06.01-build-004";
    app.m_strLocalDir = local;
    app.m_strBackupDir = backup;
    app.m_strServerDir = server;
    app.m_nPkgKind = nKind;
    TheCatalogue()["ME921001"] = kGuidanceRunning;
    TheCatalogue()["MG921001"] = kGuidanceUpdating;
#ifndef _WIN32
    // The "korvan" lock of this test alone, whatever runs beside it.
    MakeFolders(tmp / "run");
    const char* previous = std::getenv("XDG_RUNTIME_DIR");
    if (previous != nullptr) m_previousRuntime = previous;
    m_bHadRuntime = previous != nullptr;
    setenv("XDG_RUNTIME_DIR", (tmp / "run").c_str(), 1);
#endif
  }

  ~Installation() {
    // The stand-in must have ended before its folder goes. On Windows its
    // current directory stays in use a moment after it has released its
    // mutex, so the removal is tried again until it has gone.
    testing_support::WaitForKorvanRuns(local, m_nLaunches, 10000);
    WaitUntilMainClosed();
    for (int i = 0; i < 250; ++i) {
      testing_support::RemoveTree(tmp.Path());
      if (!testing_support::Exists(tmp.Path())) break;
      testing_support::SleepMs(20);
    }
#ifndef _WIN32
    if (m_bHadRuntime) setenv("XDG_RUNTIME_DIR", m_previousRuntime.c_str(), 1);
    else unsetenv("XDG_RUNTIME_DIR");
#endif
  }

  void Put(const std::string& root, const Files& files) {
    for (const auto& [rel, bytes] : files) {
      if (rel.back() == '/') testing_support::MakeFolders(testing_support::Join(root, rel));
      else testing_support::WriteFile(testing_support::Join(root, rel), bytes);
    }
  }

  // The local folder as Snapshot shows it, the stand-in's own files left out.
  Files Local() const {
    Files out = testing_support::Snapshot(local);
    for (auto it = out.begin(); it != out.end();)
      it = IsKorvanFile(it->first) ? out.erase(it) : std::next(it);
    return out;
  }

  // Confirms the update in the dialog with p installed, from the local folder.
  void Confirm(platform::Platform& p) {
    testing_support::ScopedCurrentDir here(local);
    Installed installed(p);
    dlg.m_pApp = &app;
    const bool bWasEnded = dlg.IsEnded();
    dlg.OnOK();
    // Every run that ends the dialog starts the main program once.
    if (!bWasEnded && dlg.IsEnded()) ++m_nLaunches;
  }

  std::string Log() const { return testing_support::ReadFile(log); }

  // The starts of the main program made by the update, once they are in.
  std::vector<testing_support::KorvanRun> Starts(std::size_t expected) const {
    testing_support::WaitForKorvanRuns(local, expected, 10000);
    WaitUntilMainClosed();
    return testing_support::ReadKorvanRuns(local);
  }

  static void WaitUntilMainClosed() {
    for (int i = 0; i < 500 && !IsMainClosed("korvan"); ++i) testing_support::SleepMs(20);
  }

  testing_support::TempFolder tmp;
  std::string local, backup, server, log;
  CUpdateApp app;
  CUpdateDlg dlg;

 private:
  std::string m_previousRuntime;
  bool m_bHadRuntime = false;
  std::size_t m_nLaunches = 0;
};

// The log line texts of package kind 0 in the ANSI code page of this run;
// empty when that is neither code page 932 nor UTF-8.
inline std::string JapaneseText(const std::string& utf8, const std::string& sjis) {
  switch (platform::Current().AnsiCodePage()) {
    case platform::CodePage::Cp932: return sjis;
    case platform::CodePage::Utf8: return utf8;
    default: return std::string();
  }
}

inline std::string SuccessJa() {
  return JapaneseText("プログラム更新が成功しました。",
                      "\x83\x76\x83\x8d\x83\x4f\x83\x89\x83\x80\x8d\x58\x90\x56\x82\xaa\x90\xac"
                      "\x8c\xf7\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42");
}

inline std::string FailureJa() {
  return JapaneseText("プログラム更新が失敗しました。",
                      "\x83\x76\x83\x8d\x83\x4f\x83\x89\x83\x80\x8d\x58\x90\x56\x82\xaa\x8e\xb8"
                      "\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42");
}

}  // namespace update_test
