// The profile (INI) reader on any file content, section and key, in each
// code page: no crash or overread, a value never spans a line, an answer
// fits the caller's buffer, and a missing key gives the caller's default.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "platform/ProfileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const platform::CodePage cp = CodePageOf(in.ConsumeIntegral<std::uint8_t>());
  const std::size_t bufferSize = in.ConsumeIntegralInRange<std::size_t>(0, 40);
  // Mostly the names the updater asks for, sometimes any bytes.
  const bool bOwnNames = in.ConsumeBool();
  const std::string section = bOwnNames ? "ENVSET" : in.ConsumeRandomLengthString(12);
  const std::string key = bOwnNames ? in.PickValueInArray({"PkgKBN", "SystemENV", "ServerDrive"})
                                    : in.ConsumeRandomLengthString(12);
  const std::string content = in.ConsumeRemainingBytesAsString();

  std::string value;
  const bool bFound = profile::FindValue(content, section, key, value, cp);
  if (bFound) {
    FUZZ_CHECK(value.find('\n') == std::string::npos);
    FUZZ_CHECK(value.find('\r') == std::string::npos);
  }

  constexpr int kDefault = 424242;
  const int n = profile::ReadInt(content, section, key, kDefault, cp);
  if (!bFound) FUZZ_CHECK(n == kDefault);

  const std::string text = profile::ReadString(content, section, key, "dflt", bufferSize, cp);
  FUZZ_CHECK(text.size() + 1 <= (bufferSize == 0 ? 1 : bufferSize));
  if (!bFound && bufferSize > 4) FUZZ_CHECK(text == "dflt");
  // The same question gives the same answer.
  FUZZ_CHECK(text == profile::ReadString(content, section, key, "dflt", bufferSize, cp));
  return 0;
}
