// The ANSI code page of the POSIX backend: the character set of the locale
// the environment names (LC_ALL, LC_CTYPE, LANG), as setlocale(LC_CTYPE, "")
// chooses it, looked up once.
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>
#include <cctype>
#include <string>

#include "platform/posix/PosixPlatform.h"

namespace platform {

namespace {

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The code set name of the environment's locale, "ANSI_X3.4-1968" when it
// names none or one that is not installed. The process's own LC_CTYPE is put
// back afterwards. (newlocale would spare that, but glibc's loses memory in
// it whenever LOCPATH is set, which the leak checker of the tests reports.)
std::string EnvironmentCodeSet() {
  const char* current = ::setlocale(LC_CTYPE, nullptr);
  const std::string saved = current != nullptr ? current : "C";
  std::string codeSet = ::setlocale(LC_CTYPE, "") != nullptr ? ::nl_langinfo(CODESET)
                                                              : "ANSI_X3.4-1968";
  ::setlocale(LC_CTYPE, saved.c_str());
  return codeSet;
}

struct LocaleText {
  CodePage codePage = CodePage::SingleByte;
  std::string iconvName;  // what FromUtf8 converts into
};

const LocaleText& TheLocaleText() {
  static const LocaleText text = [] {
    LocaleText t;
    const std::string codeSet = UpperCase(EnvironmentCodeSet());
    if (codeSet == "UTF-8" || codeSet == "UTF8") {
      t.codePage = CodePage::Utf8;
    } else if (codeSet == "SHIFT_JIS" || codeSet == "SHIFT-JIS" || codeSet == "SJIS" ||
               codeSet == "CP932" || codeSet == "WINDOWS-31J" || codeSet == "MS_KANJI") {
      t.codePage = CodePage::Cp932;
      // Code page 932's own table, so the bytes match what Windows writes.
      t.iconvName = "CP932";
    } else {
      t.iconvName = codeSet;
    }
    return t;
  }();
  return text;
}

// utf8 converted by iconv into codeSet; false when a character has no
// counterpart there or the conversion is not available.
bool Convert(const std::string& utf8, const std::string& codeSet, std::string& out) {
  iconv_t cd = ::iconv_open(codeSet.c_str(), "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string input = utf8;
  char* in = &input[0];
  std::size_t inLeft = input.size();
  out.clear();
  bool ok = true;
  char buffer[1024];
  while (ok) {
    char* o = buffer;
    std::size_t oLeft = sizeof buffer;
    std::size_t r = ::iconv(cd, inLeft > 0 ? &in : nullptr, &inLeft, &o, &oLeft);
    out.append(buffer, sizeof buffer - oLeft);
    if (r != static_cast<std::size_t>(-1)) {
      if (inLeft == 0) {
        // Flush any shift state, then done.
        o = buffer;
        oLeft = sizeof buffer;
        ok = ::iconv(cd, nullptr, nullptr, &o, &oLeft) != static_cast<std::size_t>(-1);
        out.append(buffer, sizeof buffer - oLeft);
        break;
      }
      continue;
    }
    ok = errno == E2BIG;
  }
  ::iconv_close(cd);
  return ok;
}

}  // namespace

CodePage PosixPlatform::AnsiCodePage() { return TheLocaleText().codePage; }

std::string PosixPlatform::FromUtf8(const std::string& utf8) {
  const LocaleText& text = TheLocaleText();
  if (text.codePage == CodePage::Utf8) return utf8;
  std::string out;
  if (!Convert(utf8, text.iconvName, out)) return utf8;
  return out;
}

}  // namespace platform
