// The message catalogue loaded from a real file of any bytes, in each code
// page: every entry comes from one line and splits at its first "=", the
// lookups and the title format take any text without overrunning.
#include <fuzzer/FuzzedDataProvider.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzCheck.h"
#include "catalogue/Catalogue.h"
#include "platform/ForwardingPlatform.h"
#include "platform/MbcsText.h"

namespace {

class FixedCodePage : public platform::ForwardingPlatform {
 public:
  platform::CodePage AnsiCodePage() override { return m_cp; }
  platform::CodePage m_cp = platform::CodePage::SingleByte;
};

// A local folder with a translations folder below it, made once and
// removed at exit. Plain arrays: they outlive the exit handler.
char g_folder[256];
char g_file[300];

std::string LocalDir() {
  if (g_folder[0] == 0) {
    const char* tmp = std::getenv("TMPDIR");
    std::snprintf(g_folder, sizeof g_folder, "%s/velmor-fuzz-XXXXXX", tmp ? tmp : "/tmp");
    FUZZ_CHECK(::mkdtemp(g_folder) != nullptr);
    FUZZ_CHECK(::mkdir((std::string(g_folder) + "/translations").c_str(), 0755) == 0);
    std::snprintf(g_file, sizeof g_file, "%s/translations/velmor_00.ini", g_folder);
    std::atexit([] {
      ::unlink(g_file);
      ::rmdir((std::string(g_folder) + "/translations").c_str());
      ::rmdir(g_folder);
    });
  }
  return std::string(g_folder) + "/";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FixedCodePage system;
  platform::SetCurrent(&system);
  FuzzedDataProvider in(data, size);
  system.m_cp = CodePageOf(in.ConsumeIntegral<std::uint8_t>());
  const std::string version = in.ConsumeRandomLengthString(24);
  const std::string content = in.ConsumeRemainingBytesAsString();

  FILE* f = std::fopen((LocalDir(), g_file), "wb");
  FUZZ_CHECK(f != nullptr);
  FUZZ_CHECK(std::fwrite(content.data(), 1, content.size(), f) == content.size());
  std::fclose(f);

  TheCatalogue().clear();
  LoadCatalogue(0, LocalDir());
  std::size_t nLines = 1;
  for (char c : content) nLines += c == '\n';
  FUZZ_CHECK(TheCatalogue().size() <= nLines);
  for (const auto& [key, text] : TheCatalogue()) {
    FUZZ_CHECK(key.find('\n') == std::string::npos && text.find('\n') == std::string::npos);
    FUZZ_CHECK(mbcs::Find(key, "=", system.m_cp) == std::string::npos);
    FUZZ_CHECK(key.find('\x1A') == std::string::npos && text.find('\x1A') == std::string::npos);
  }
  for (const char* key : {"IDC_APLNAME", "MG921000", "MG921001", "ME921001", "IDC_LB001"}) {
    // Every escape is turned into its line break; none is left behind.
    FUZZ_CHECK(mbcs::Find(GetCatalogueText(key), "\\n", system.m_cp) == std::string::npos);
  }
  const std::string format = GetCatalogueText("IDC_APLNAME");
  FUZZ_CHECK(FormatTitle(version).size() <= format.size() + version.size());
  platform::SetCurrent(nullptr);
  return 0;
}
