// The resources in velmor2.exe, read from the executable as data: the two
// dialog templates against the tables the terminal dialog draws from, string
// 101, icon 128 and the version resource, all in language 1041.
// Before windows.h, whose IDOK and IDCANCEL macros would hit Types.h.
#include "platform/Dialog.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "common/TestSupport.h"

namespace ts = testing_support;

namespace {

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);  // 1041

// Resource types, as the wide names the W functions take.
const LPCWSTR kIcon = MAKEINTRESOURCEW(3);
const LPCWSTR kDialog = MAKEINTRESOURCEW(5);
const LPCWSTR kString = MAKEINTRESOURCEW(6);
const LPCWSTR kGroupIcon = MAKEINTRESOURCEW(14);
const LPCWSTR kVersion = MAKEINTRESOURCEW(16);

std::wstring Wide(const char* utf8) {
  if (utf8 == nullptr || *utf8 == '\0') return std::wstring();
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out.data(), n);
  out.pop_back();
  return out;
}

class Module {
 public:
  Module()
      : m_h(LoadLibraryExA(ts::HostPath(VELMOR_EXE).c_str(), nullptr,
                           LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
  ~Module() {
    if (m_h != nullptr) FreeLibrary(m_h);
  }
  HMODULE Get() const { return m_h; }
  // The bytes of a resource in language 1041; empty when there is none.
  std::vector<unsigned char> Bytes(LPCWSTR type, LPCWSTR name) const {
    HRSRC r = FindResourceExW(m_h, type, name, kJapanese);
    if (r == nullptr) return {};
    HGLOBAL g = LoadResource(m_h, r);
    const auto* p = static_cast<const unsigned char*>(LockResource(g));
    return std::vector<unsigned char>(p, p + SizeofResource(m_h, r));
  }
  // Every language a resource exists in.
  std::vector<WORD> Languages(LPCWSTR type, LPCWSTR name) const {
    std::vector<WORD> langs;
    EnumResourceLanguagesW(
        m_h, type, name,
        [](HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR param) -> BOOL {
          reinterpret_cast<std::vector<WORD>*>(param)->push_back(lang);
          return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&langs));
    return langs;
  }

 private:
  HMODULE m_h;
};

// A reader over a dialog template.
class Reader {
 public:
  explicit Reader(const std::vector<unsigned char>& b) : m_b(b) {}
  std::uint16_t Word() {
    std::uint16_t v = 0;
    Take(&v, 2);
    return v;
  }
  std::uint32_t Dword() {
    std::uint32_t v = 0;
    Take(&v, 4);
    return v;
  }
  short Short() { return static_cast<short>(Word()); }
  std::uint8_t Byte() {
    std::uint8_t v = 0;
    Take(&v, 1);
    return v;
  }
  // A string, or "#<n>" for an ordinal; empty for none.
  std::wstring StringOrOrdinal() {
    std::uint16_t first = Word();
    if (first == 0xFFFF) return L"#" + std::to_wstring(Word());
    std::wstring s;
    for (std::uint16_t c = first; c != 0; c = Word()) s += static_cast<wchar_t>(c);
    return s;
  }
  void AlignDword() { m_pos = (m_pos + 3) & ~static_cast<std::size_t>(3); }
  bool Overrun() const { return m_overrun; }

 private:
  void Take(void* out, std::size_t n) {
    if (m_pos + n > m_b.size()) {
      m_overrun = true;
      return;
    }
    std::memcpy(out, m_b.data() + m_pos, n);
    m_pos += n;
  }
  const std::vector<unsigned char>& m_b;
  std::size_t m_pos = 0;
  bool m_overrun = false;
};

std::wstring ExpectedText(const framework::ControlTemplate& c) {
  return c.text == nullptr ? L"#" + std::to_wstring(c.iconId) : Wide(c.text);
}

void CompareControls(Reader& r, const framework::DialogTemplate& table, bool extended) {
  for (std::size_t i = 0; i < table.controlCount; ++i) {
    const framework::ControlTemplate& c = table.controls[i];
    SCOPED_TRACE("control " + std::to_string(i + 1) + ", id " + std::to_string(c.id));
    r.AlignDword();
    std::uint32_t style = 0, exStyle = 0;
    if (extended) {
      r.Dword();  // help id
      exStyle = r.Dword();
      style = r.Dword();
    } else {
      style = r.Dword();
      exStyle = r.Dword();
    }
    const short x = r.Short(), y = r.Short(), cx = r.Short(), cy = r.Short();
    const int id = extended ? static_cast<int>(r.Dword()) : static_cast<short>(r.Word());
    const std::wstring cls = r.StringOrOrdinal();
    const std::wstring title = r.StringOrOrdinal();
    const std::uint16_t extra = r.Word();
    EXPECT_EQ(id, c.id);
    EXPECT_EQ(cls, L"#" + std::to_wstring(static_cast<int>(c.controlClass)));
    EXPECT_TRUE(title == ExpectedText(c));
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
    EXPECT_EQ(cx, c.cx);
    EXPECT_EQ(cy, c.cy);
    EXPECT_EQ(style, c.style) << std::hex << style << " " << c.style;
    EXPECT_EQ(exStyle, 0u);
    EXPECT_EQ(extra, 0);
  }
}

TEST(UiResources, UpdateDialogTemplateMatchesTheTerminalLayoutTable) {
  Module m;
  ASSERT_NE(m.Get(), nullptr);
  const framework::DialogTemplate* table = framework::FindDialogTemplate(102);
  ASSERT_NE(table, nullptr);
  const auto bytes = m.Bytes(kDialog, MAKEINTRESOURCEW(102));
  ASSERT_FALSE(bytes.empty());
  Reader r(bytes);
  ASSERT_EQ(r.Word(), 1);       // version of the extended form
  ASSERT_EQ(r.Word(), 0xFFFF);  // its signature
  r.Dword();                    // help id
  EXPECT_EQ(r.Dword(), table->exStyle);
  EXPECT_EQ(r.Dword(), table->style);
  const std::uint16_t count = r.Word();
  EXPECT_EQ(count, table->controlCount);
  EXPECT_EQ(r.Short(), table->x);
  EXPECT_EQ(r.Short(), table->y);
  EXPECT_EQ(r.Short(), table->cx);
  EXPECT_EQ(r.Short(), table->cy);
  EXPECT_EQ(r.StringOrOrdinal(), L"");  // no menu
  EXPECT_EQ(r.StringOrOrdinal(), L"");  // the standard dialog class
  EXPECT_TRUE(r.StringOrOrdinal() == Wide(table->title));
  EXPECT_EQ(r.Word(), table->pointSize);
  EXPECT_EQ(r.Word(), table->weight);
  EXPECT_EQ(r.Byte() != 0, table->italic);
  EXPECT_EQ(r.Byte(), table->charset);
  EXPECT_TRUE(r.StringOrOrdinal() == Wide(table->face));
  ASSERT_EQ(count, table->controlCount);
  CompareControls(r, *table, true);
  EXPECT_FALSE(r.Overrun());
}

TEST(UiResources, VersionBoxTemplateMatchesItsTable) {
  Module m;
  ASSERT_NE(m.Get(), nullptr);
  const framework::DialogTemplate* table = framework::FindDialogTemplate(100);
  ASSERT_NE(table, nullptr);
  const auto bytes = m.Bytes(kDialog, MAKEINTRESOURCEW(100));
  ASSERT_FALSE(bytes.empty());
  Reader r(bytes);
  EXPECT_EQ(r.Dword(), table->style);  // the classic form: no signature
  EXPECT_EQ(r.Dword(), table->exStyle);
  const std::uint16_t count = r.Word();
  EXPECT_EQ(r.Short(), table->x);
  EXPECT_EQ(r.Short(), table->y);
  EXPECT_EQ(r.Short(), table->cx);
  EXPECT_EQ(r.Short(), table->cy);
  EXPECT_EQ(r.StringOrOrdinal(), L"");
  EXPECT_EQ(r.StringOrOrdinal(), L"");
  EXPECT_TRUE(r.StringOrOrdinal() == Wide(table->title));
  EXPECT_EQ(r.Word(), table->pointSize);
  EXPECT_TRUE(r.StringOrOrdinal() == Wide(table->face));
  ASSERT_EQ(count, table->controlCount);
  CompareControls(r, *table, false);
  EXPECT_FALSE(r.Overrun());
}

TEST(UiResources, MenuStringIsTheTableTextInJapanese) {
  Module m;
  ASSERT_NE(m.Get(), nullptr);
  wchar_t buffer[256] = {};
  const int n = LoadStringW(m.Get(), 101, buffer, 256);
  EXPECT_TRUE(std::wstring(buffer, static_cast<std::size_t>(n)) ==
              Wide(framework::FindStringResource(101)));
  EXPECT_TRUE(std::wstring(buffer, static_cast<std::size_t>(n)) ==
              L"velmor \u306e\uff8a\uff9e\uff70\uff7c\uff9e\uff6e\uff9d\u60c5\u5831(&A)...");
}

TEST(UiResources, EveryResourceIsJapaneseOnly) {
  Module m;
  ASSERT_NE(m.Get(), nullptr);
  const std::vector<WORD> japanese{kJapanese};
  EXPECT_EQ(m.Languages(kDialog, MAKEINTRESOURCEW(102)), japanese);
  EXPECT_EQ(m.Languages(kDialog, MAKEINTRESOURCEW(100)), japanese);
  EXPECT_EQ(m.Languages(kString, MAKEINTRESOURCEW(101 / 16 + 1)), japanese);
  EXPECT_EQ(m.Languages(kGroupIcon, MAKEINTRESOURCEW(128)), japanese);
  EXPECT_EQ(m.Languages(kVersion, MAKEINTRESOURCEW(1)), japanese);
}

TEST(UiResources, IconIsOne32By32ImageIn16Colours) {
  Module m;
  ASSERT_NE(m.Get(), nullptr);
  const auto group = m.Bytes(kGroupIcon, MAKEINTRESOURCEW(128));
  ASSERT_EQ(group.size(), 6u + 14u);  // the header and one entry
  Reader r(group);
  EXPECT_EQ(r.Word(), 0);
  EXPECT_EQ(r.Word(), 1);  // icons
  EXPECT_EQ(r.Word(), 1);  // one image
  EXPECT_EQ(r.Byte(), 32);
  EXPECT_EQ(r.Byte(), 32);
  EXPECT_EQ(r.Byte(), 16);  // colours
  r.Byte();
  EXPECT_EQ(r.Word(), 1);  // planes
  EXPECT_EQ(r.Word(), 4);  // bits per pixel
  const std::uint32_t size = r.Dword();
  const std::uint16_t imageId = r.Word();
  const auto image = m.Bytes(kIcon, MAKEINTRESOURCEW(imageId));
  ASSERT_EQ(image.size(), size);
  BITMAPINFOHEADER header{};
  ASSERT_GE(image.size(), sizeof header);
  std::memcpy(&header, image.data(), sizeof header);
  EXPECT_EQ(header.biWidth, 32);
  EXPECT_EQ(header.biHeight, 64);  // the colour image and the mask
  EXPECT_EQ(header.biBitCount, 4);
  // Header, 16 palette entries, 4-bit pixels, 1-bit transparency mask.
  EXPECT_EQ(image.size(), 40u + 16u * 4u + 32u * 16u + 32u * 4u);
}

TEST(UiResources, VersionResourceHoldsTheJapaneseTable) {
  const std::string exe = ts::HostPath(VELMOR_EXE);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<unsigned char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, info.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0411);
  EXPECT_EQ(translation[1], 0x04b0);

  struct Field {
    const wchar_t* name;
    const char* text;
  };
  const Field fields[] = {
      {L"FileDescription", "velmor MFC ｱﾌﾟﾘｹｰｼｮﾝ"},
      {L"FileVersion", "1, 0, 0, 0"},
      {L"InternalName", "velmor2"},
      {L"LegalCopyright", "Copyright (C) 2026 velmor"},  // the box's notice line
      {L"OriginalFilename", "velmor2.exe"},
      {L"ProductName", "velmor ｱﾌﾟﾘｹｰｼｮﾝ"},
      {L"ProductVersion", "1, 0, 0, 0"},
      {L"Comments", ""},
      {L"CompanyName", ""},
      {L"LegalTrademarks", ""},
      {L"PrivateBuild", ""},
      {L"SpecialBuild", ""},
  };
  for (const Field& f : fields) {
    SCOPED_TRACE(f.text);
    const std::wstring key = std::wstring(L"\\StringFileInfo\\041104b0\\") + f.name;
    wchar_t* value = nullptr;
    length = 0;
    const BOOL found = VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length);
    std::wstring got = found && value != nullptr ? std::wstring(value) : L"<missing>";
    EXPECT_TRUE(got == Wide(f.text));
  }
  // The notice line is the one control 3 of the box shows.
  EXPECT_STREQ(framework::FindDialogTemplate(100)->controls[2].text, "Copyright (C) 2026 velmor");
}

}  // namespace
