// Awkward ZOLENV.INI contents and what GetPrivateProfileIntA and
// GetPrivateProfileStringA answer for them, as measured under Wine 8 with
// code page 932 and, where the answer differs, with code page 1252. Our
// reader must give the same answers; the Windows build checks each one
// against the real functions as well.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace profile_cases {

using namespace std::string_literals;

struct Answer {
  int number;        // GetPrivateProfileIntA with the default 77
  std::string text;  // GetPrivateProfileStringA into a zeroed buffer, default "dflt"
};

struct Case {
  std::string name;
  std::string content;  // the file's bytes
  std::string key;
  Answer cp932;
  bool singleByteDiffers = false;
  Answer singleByte{0, ""};
  std::string section = "ENVSET";
  std::string stringDefault = "dflt";
  std::size_t bufferSize = 1024;

  static constexpr int kIntDefault = 77;

  Case& Section(const std::string& s) { section = s; return *this; }
  Case& Default(const std::string& d) { stringDefault = d; return *this; }
  Case& Buffer(std::size_t size) { bufferSize = size; return *this; }
  Case& SingleByte(const Answer& a) { singleByteDiffers = true; singleByte = a; return *this; }
  // The answer under a code page 932 or a single-byte code page.
  const Answer& For(bool cp932Page) const {
    return cp932Page || !singleByteDiffers ? cp932 : singleByte;
  }
  // True when content, names and default are ASCII, so that every code page
  // (UTF-8 too) gives the same answer.
  bool IsAscii() const {
    for (const std::string* s : {&content, &key, &section, &stringDefault}) {
      for (const char c : *s) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
      }
    }
    return true;
  }
};

inline Case MakeCase(const char* name, const std::string& content, const std::string& key,
                     const Answer& cp932) {
  Case c;
  c.name = name;
  c.content = content;
  c.key = key;
  c.cp932 = cp932;
  return c;
}

inline std::string Repeat(const std::string& unit, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out += unit;
  return out;
}

inline const std::vector<Case>& All() {
  const std::string kEnv = "[ENVSET]\r\n";
  const std::string kSys = "SystemENV";
  const std::string kDrive = "ServerDrive";
  static const std::vector<Case> cases = {
    MakeCase("plain section and key",
         kEnv + "SystemENV=3\r\n"s, kSys, {3, "3"}),
    MakeCase("section and key names in another case",
         "[envset]\r\nsystemenv=3\r\n"s, kSys, {3, "3"}),
    MakeCase("query in another case than the file",
         kEnv + "systemenv=3\r\n"s, "SYSTEMENV"s, {3, "3"})
        .Section("envset"),
    MakeCase("blanks around the header, the name and the value",
         "  [ENVSET]  \r\n  SystemENV  =  3  \r\n"s, kSys, {3, "3"}),
    MakeCase("tabs around the header, the name and the value",
         "\t[ENVSET]\t\r\n\tSystemENV\t=\t3\t\r\n"s, kSys, {3, "3"}),
    MakeCase("blanks around the asked names are dropped",
         kEnv + "SystemENV=3\r\n"s, " SystemENV "s, {3, "3"})
        .Section(" ENVSET "),
    MakeCase("a blank inside a key name is part of it",
         kEnv + "System ENV=3\r\n"s, kSys, {77, "dflt"}),
    MakeCase("only A-Z are matched without case: E acute",
         kEnv + "\xC9=3\r\n"s, "\xE9"s, {77, "dflt"}),
    MakeCase("only A-Z are matched without case: full-width A",
         kEnv + "\x82\x60=3\r\n"s, "\x82\x81"s, {77, "dflt"}),
    MakeCase("a line beginning with = is a key with the empty name",
         kEnv + "=5\r\nSystemENV=3\r\n"s, kSys, {3, "3"}),
    MakeCase("repeated key: the first wins",
         kEnv + "SystemENV=1\r\nSystemENV=2\r\n"s, kSys, {1, "1"}),
    MakeCase("repeated key: the first wins even when empty",
         kEnv + "SystemENV=\r\nSystemENV=3\r\n"s, kSys, {77, ""}),
    MakeCase("repeated key: an empty first value is kept",
         kEnv + "ServerDrive=\r\nServerDrive=S\r\n"s, kDrive, {77, ""}),
    MakeCase("repeated section: only the first is searched",
         kEnv + "A=1\r\n[ENVSET]\r\nSystemENV=2\r\n"s, kSys, {77, "dflt"}),
    MakeCase("repeated section: the first answers",
         kEnv + "SystemENV=1\r\n[ENVSET]\r\nSystemENV=2\r\n"s, kSys, {1, "1"}),
    MakeCase("repeated section in another case: only the first is searched",
         "[envset]\r\nA=1\r\n[ENVSET]\r\nSystemENV=2\r\n"s, kSys, {77, "dflt"}),
    MakeCase("missing key",
         kEnv + "Other=3\r\n"s, kSys, {77, "dflt"}),
    MakeCase("missing section",
         "[X]\r\nSystemENV=3\r\n"s, kSys, {77, "dflt"}),
    MakeCase("empty file",
         ""s, kSys, {77, "dflt"}),
    MakeCase("a key in front of any section belongs to no named section",
         "SystemENV=3\r\n[ENVSET]\r\nA=1\r\n"s, kSys, {77, "dflt"}),
    MakeCase("a key in front of any section answers the empty section name",
         "SystemENV=3\r\n[ENVSET]\r\nA=1\r\n"s, kSys, {3, "3"})
        .Section(""),
    MakeCase("the header [] repeats the nameless first section",
         "SystemENV=1\r\n[]\r\nSystemENV=2\r\n"s, kSys, {1, "1"})
        .Section(""),
    MakeCase("a header without ] is a key line of the section before",
         kEnv + "[OTHER\r\nSystemENV=3\r\n"s, kSys, {3, "3"}),
    MakeCase("blanks inside the brackets are dropped",
         "[ ENVSET ]\r\nSystemENV=3\r\n"s, kSys, {3, "3"}),
    MakeCase("tabs inside the brackets are dropped",
         "[\tENVSET\t]\r\nSystemENV=3\r\n"s, kSys, {3, "3"}),
    MakeCase("0x1A inside the brackets is a blank",
         "[\x1A" "ENVSET\x1A]\r\nSystemENV=3\r\n"s, kSys, {3, "3"}),
    MakeCase("text behind the ] is ignored",
         "[ENVSET] junk\r\nSystemENV=3\r\n"s, kSys, {3, "3"}),
    MakeCase("the name runs up to the last ]",
         "[ENVSET]]\r\nSystemENV=3\r\n"s, kSys, {77, "dflt"}),
    MakeCase("a key behind the header on its line is ignored",
         "[ENVSET]SystemENV=4\r\nSystemENV=3\r\n"s, kSys, {3, "3"}),
    MakeCase("a blank inside a section name is part of it",
         "[ENV SET]\r\nSystemENV=3\r\n"s, kSys, {3, "3"})
        .Section("ENV SET"),
    MakeCase("the trail byte 0x5D of a double-byte character closes no header",
         kEnv + "[X\x83\x5D\r\nSystemENV=3\r\n"s, kSys, {3, "3"})
        .SingleByte({77, "dflt"}),
    MakeCase("a section name ending in a character with trail byte 0x5D",
         "[\x83\x5D]\r\nSystemENV=3\r\n"s, kSys, {3, "3"})
        .Section("\x83\x5D"),
    MakeCase("a lead byte in front of ] takes the ] as its trail byte",
         kEnv + "[X\x81\x5D\r\nSystemENV=3\r\n"s, kSys, {3, "3"})
        .SingleByte({77, "dflt"}),
    MakeCase("UTF-8 byte-order mark",
         "\xEF\xBB\xBF[ENVSET]\r\nSystemENV=3\r\n"s, kSys, {3, "3"}),
    MakeCase("UTF-8 byte-order mark in front of a key without section",
         "\xEF\xBB\xBFSystemENV=3\r\n"s, kSys, {3, "3"})
        .Section(""),
    MakeCase("a file of a byte-order mark alone",
         "\xEF\xBB\xBF"s, kSys, {77, "dflt"}),
    MakeCase("a second byte-order mark is part of the first line",
         "\xEF\xBB\xBF\xEF\xBB\xBF[ENVSET]\r\nSystemENV=3\r\n"s, kSys, {77, "dflt"}),
    MakeCase("CR-only line ends",
         "[ENVSET]\rA=1\rSystemENV=3\rServerDrive=S\r"s, kSys, {3, "3"}),
    MakeCase("LF-only line ends",
         "[ENVSET]\nSystemENV=3\n"s, kSys, {3, "3"}),
    MakeCase("last line without line end",
         kEnv + "SystemENV=3"s, kSys, {3, "3"}),
    MakeCase("CR CR LF line ends",
         "[ENVSET]\r\r\nSystemENV=3\r\r\n"s, kSys, {3, "3"}),
    MakeCase("LF CR line ends",
         "[ENVSET]\n\rSystemENV=3\n\r"s, kSys, {3, "3"}),
    MakeCase("empty lines everywhere",
         "\r\n\r\n[ENVSET]\r\n\r\n\r\nSystemENV=3\r\n\r\n"s, kSys, {3, "3"}),
    MakeCase("a lead byte at the end of a line takes the LF with it",
         kEnv + "ServerDrive=S\x81\x0ASystemENV=3\n"s, kDrive, {0, "S\x81\x45SystemENV=3"})
        .SingleByte({0, "S\x81"}),
    MakeCase("a lead byte at the end of a line hides the next line",
         kEnv + "ServerDrive=S\x81\x0ASystemENV=3\n"s, kSys, {77, "dflt"})
        .SingleByte({3, "3"}),
    MakeCase("a lead byte before a CR-only line end takes the CR with it",
         "[ENVSET]\rServerDrive=S\x81\x0DSystemENV=3\r"s, kDrive, {0, "S\x81\x45SystemENV=3"})
        .SingleByte({0, "S\x81"}),
    MakeCase("a lead byte before a CR-only line end hides the next line",
         "[ENVSET]\rServerDrive=S\x81\x0DSystemENV=3\r"s, kSys, {77, "dflt"})
        .SingleByte({3, "3"}),
    MakeCase("UTF-8 without byte-order mark is read in the code page",
         kEnv + "ServerDrive=\xE8\xA1\xA8\r\n"s, kDrive, {0, "\xE8\xA1\xA8"}),
    MakeCase("a key line without = gives the default",
         kEnv + "SystemENV\r\nSystemENV=3\r\n"s, kSys, {77, "dflt"}),
    MakeCase("a key line without = gives the default text",
         kEnv + "ServerDrive\r\nServerDrive=S\r\n"s, kDrive, {77, "dflt"}),
    MakeCase("; does not make a comment: the key is ;SystemENV",
         kEnv + ";SystemENV=3\r\n"s, kSys, {77, "dflt"}),
    MakeCase("# does not make a comment",
         kEnv + "#SystemENV=3\r\n"s, kSys, {77, "dflt"}),
    MakeCase("; inside a value is part of it",
         kEnv + "ServerDrive=S ; note\r\n"s, kDrive, {0, "S ; note"}),
    MakeCase("a lead byte in front of = takes the = as its trail byte",
         kEnv + "SystemENV\x81\x3D" "3\r\n"s, "SystemENV\x81\x45"s, {77, "dflt"}),
    MakeCase("number followed by letters",
         kEnv + "SystemENV=3abc\r\n"s, kSys, {3, "3abc"}),
    MakeCase("minus sign",
         kEnv + "SystemENV=-1\r\n"s, kSys, {-1, "-1"}),
    MakeCase("plus sign",
         kEnv + "SystemENV=+3\r\n"s, kSys, {3, "+3"}),
    MakeCase("hexadecimal with 0x",
         kEnv + "SystemENV=0x3\r\n"s, kSys, {3, "0x3"}),
    MakeCase("hexadecimal digits in upper case",
         kEnv + "SystemENV=0x1F\r\n"s, kSys, {31, "0x1F"}),
    MakeCase("0X in upper case is no prefix",
         kEnv + "SystemENV=0X1F\r\n"s, kSys, {0, "0X1F"}),
    MakeCase("hexadecimal up to the first non-digit",
         kEnv + "SystemENV=0x1g\r\n"s, kSys, {1, "0x1g"}),
    MakeCase("binary with 0b",
         kEnv + "SystemENV=0b101\r\n"s, kSys, {5, "0b101"}),
    MakeCase("octal with 0o",
         kEnv + "SystemENV=0o17\r\n"s, kSys, {15, "0o17"}),
    MakeCase("a leading zero is no octal prefix",
         kEnv + "SystemENV=08\r\n"s, kSys, {8, "08"}),
    MakeCase("number within blanks",
         kEnv + "SystemENV= 3 \r\n"s, kSys, {3, "3"}),
    MakeCase("number in double quotes",
         kEnv + "SystemENV=\"3\"\r\n"s, kSys, {3, "3"}),
    MakeCase("number in single quotes",
         kEnv + "SystemENV='3'\r\n"s, kSys, {3, "3"}),
    MakeCase("negative number in quotes",
         kEnv + "SystemENV=\"-5\"\r\n"s, kSys, {-5, "-5"}),
    MakeCase("quoted blank in front of a number",
         kEnv + "SystemENV=\" 5\"\r\n"s, kSys, {5, " 5"}),
    MakeCase("unequal quotes stay",
         kEnv + "SystemENV='5\"\r\n"s, kSys, {0, "'5\""}),
    MakeCase("an opening quote alone stays",
         kEnv + "SystemENV=\"3\r\n"s, kSys, {0, "\"3"}),
    MakeCase("a closing quote alone stays",
         kEnv + "SystemENV=3\"\r\n"s, kSys, {3, "3\""}),
    MakeCase("empty quotes give the default",
         kEnv + "SystemENV=\"\"\r\n"s, kSys, {77, ""}),
    MakeCase("empty value gives the default",
         kEnv + "SystemENV=\r\n"s, kSys, {77, ""}),
    MakeCase("letters only give 0",
         kEnv + "SystemENV=abc\r\n"s, kSys, {0, "abc"}),
    MakeCase("a blank after the sign gives 0",
         kEnv + "SystemENV=- 3\r\n"s, kSys, {0, "- 3"}),
    MakeCase("two signs give 0",
         kEnv + "SystemENV=+-3\r\n"s, kSys, {0, "+-3"}),
    MakeCase("0x alone gives 0",
         kEnv + "SystemENV=0x\r\n"s, kSys, {0, "0x"}),
    MakeCase("a sign alone gives 0",
         kEnv + "SystemENV=-\r\n"s, kSys, {0, "-"}),
    MakeCase("no exponent",
         kEnv + "SystemENV=1e3\r\n"s, kSys, {1, "1e3"}),
    MakeCase("the first number of two",
         kEnv + "SystemENV=3 4\r\n"s, kSys, {3, "3 4"}),
    MakeCase("a full-width digit is no digit",
         kEnv + "SystemENV=\x82\x52\r\n"s, kSys, {0, "\x82\x52"}),
    MakeCase("control characters in front of a number are skipped",
         kEnv + "SystemENV=\x03" "5\r\n"s, kSys, {5, "\x03" "5"}),
    MakeCase("0x1A behind the number is a blank",
         kEnv + "SystemENV=7\x1A\r\n"s, kSys, {7, "7"}),
    MakeCase("4294967295 wraps to -1",
         kEnv + "SystemENV=4294967295\r\n"s, kSys, {-1, "4294967295"}),
    MakeCase("4294967296 wraps to 0",
         kEnv + "SystemENV=4294967296\r\n"s, kSys, {0, "4294967296"}),
    MakeCase("2147483648 wraps to the lowest int",
         kEnv + "SystemENV=2147483648\r\n"s, kSys, {-2147483648, "2147483648"}),
    MakeCase("-2147483649 wraps to the highest int",
         kEnv + "SystemENV=-2147483649\r\n"s, kSys, {2147483647, "-2147483649"}),
    MakeCase("overflow wraps modulo 2^32",
         kEnv + "SystemENV=99999999999\r\n"s, kSys, {1215752191, "99999999999"}),
    MakeCase("0xFFFFFFFF gives -1",
         kEnv + "SystemENV=0xFFFFFFFF\r\n"s, kSys, {-1, "0xFFFFFFFF"}),
    MakeCase("0x100000000 wraps to 0",
         kEnv + "SystemENV=0x100000000\r\n"s, kSys, {0, "0x100000000"}),
    MakeCase("29 characters are read",
         kEnv + "SystemENV=00000000000000000000000000012\r\n"s, kSys, {12, "00000000000000000000000000012"}),
    MakeCase("the 30th character is cut off",
         kEnv + "SystemENV=000000000000000000000000000012\r\n"s, kSys, {1, "000000000000000000000000000012"}),
    MakeCase("31 characters: the digits behind the 29th are lost",
         kEnv + "SystemENV=0000000000000000000000000000012\r\n"s, kSys, {0, "0000000000000000000000000000012"}),
    MakeCase("29 quoted characters lose the last one with the quote",
         kEnv + "SystemENV=\"00000000000000000000000000012\"\r\n"s, kSys, {1, "00000000000000000000000000012"}),
    MakeCase("28 quoted characters are read whole",
         kEnv + "SystemENV=\"0000000000000000000000000012\"\r\n"s, kSys, {12, "0000000000000000000000000012"}),
    MakeCase("an ideographic space in front of the number gives 0",
         kEnv + "SystemENV=\x81\x40" "5\r\n"s, kSys, {0, "\x81\x40" "5"}),
    MakeCase("a number followed by double-byte characters",
         kEnv + "SystemENV=5" + Repeat("\x95\x5C", 40) + "\r\n", kSys, {5, "5" + Repeat("\x95\x5C", 40)}),
    MakeCase("a quoted number followed by double-byte characters",
         kEnv + "SystemENV=\"5" + Repeat("\x95\x5C", 28) + "\"\r\n", kSys, {5, "5" + Repeat("\x95\x5C", 28)}),
    MakeCase("0x1A at the end of a value ends nothing",
         kEnv + "ServerDrive=S\x1A\r\nSystemENV=3\r\n"s, kSys, {3, "3"}),
    MakeCase("a NUL byte in a value ends nothing but the value",
         kEnv + "ServerDrive=S\x00T\r\nSystemENV=3\r\n"s, kSys, {3, "3"}),
    MakeCase("a NUL byte first makes the value empty",
         kEnv + "SystemENV=\x00" "3\r\n"s, kSys, {77, ""}),
    MakeCase("a NUL byte ends a key name",
         kEnv + "System\x00" "ENV=3\r\n"s, kSys, {77, "dflt"}),
    MakeCase("a key name cut by NUL answers the shorter name",
         kEnv + "SystemENV\x00X=3\r\n"s, kSys, {3, "3"}),
    MakeCase("text value",
         kEnv + "ServerDrive=S\r\n"s, kDrive, {0, "S"}),
    MakeCase("empty text value is no default",
         kEnv + "ServerDrive=\r\n"s, kDrive, {77, ""}),
    MakeCase("blank text value is empty",
         kEnv + "ServerDrive=   \r\n"s, kDrive, {77, ""}),
    MakeCase("= inside a value",
         kEnv + "ServerDrive=S=T\r\n"s, kDrive, {0, "S=T"}),
    MakeCase("a second = begins the value",
         kEnv + "ServerDrive==S\r\n"s, kDrive, {0, "=S"}),
    MakeCase("a value ending in the trail byte 0x5C",
         kEnv + "ServerDrive=\x95\x5C\r\n"s, kDrive, {0, "\x95\x5C"}),
    MakeCase("trail bytes 0x5C and a backslash",
         kEnv + "ServerDrive=\x83\x5C\x95\x5C\\\r\n"s, kDrive, {0, "\x83\x5C\x95\x5C\\"}),
    MakeCase("double quotes taken off",
         kEnv + "ServerDrive=\"S\"\r\n"s, kDrive, {0, "S"}),
    MakeCase("single quotes taken off",
         kEnv + "ServerDrive='S'\r\n"s, kDrive, {0, "S"}),
    MakeCase("an opening quote alone stays",
         kEnv + "ServerDrive=\"S\r\n"s, kDrive, {0, "\"S"}),
    MakeCase("unequal quotes stay",
         kEnv + "ServerDrive=\"S'\r\n"s, kDrive, {0, "\"S'"}),
    MakeCase("blanks inside quotes stay",
         kEnv + "ServerDrive=\" S \"\r\n"s, kDrive, {0, " S "}),
    MakeCase("empty quotes give the empty text",
         kEnv + "ServerDrive=\"\"\r\n"s, kDrive, {77, ""}),
    MakeCase("a single quote character stays",
         kEnv + "ServerDrive=\"\r\n"s, kDrive, {0, "\""}),
    MakeCase("quotes inside a value stay",
         kEnv + "ServerDrive=a\"b\"\r\n"s, kDrive, {0, "a\"b\""}),
    MakeCase("an ideographic space is no blank",
         kEnv + "ServerDrive=\x81\x40S\x81\x40\r\n"s, kDrive, {0, "\x81\x40S\x81\x40"}),
    MakeCase("0xA0 is no blank",
         kEnv + "ServerDrive=\xA0S\xA0\r\n"s, kDrive, {0, "\xA0S\xA0"}),
    MakeCase("0x1A around a value is a blank",
         kEnv + "ServerDrive=\x1AS\x1A\r\n"s, kDrive, {0, "S"}),
    MakeCase("0x1A inside a value stays",
         kEnv + "ServerDrive=S\x1AT\r\nSystemENV=3\r\n"s, kDrive, {0, "S\x1AT"}),
    MakeCase("a NUL byte ends the value",
         kEnv + "ServerDrive=S\x00T\r\nSystemENV=3\r\n"s, kDrive, {0, "S"}),
    MakeCase("a lead byte at the end of a value becomes a middle dot",
         kEnv + "ServerDrive=S\x81\x0D\nSystemENV=3\r\n"s, kDrive, {0, "S\x81\x45"})
        .SingleByte({0, "S\x81"}),
    MakeCase("a lead byte at the end of the file becomes a middle dot",
         kEnv + "ServerDrive=S\x81"s, kDrive, {0, "S\x81\x45"})
        .SingleByte({0, "S\x81"}),
    MakeCase("a lead byte with an invalid trail byte becomes a middle dot",
         kEnv + "ServerDrive=S\x81\x20T\r\n"s, kDrive, {0, "S\x81\x45T"})
        .SingleByte({0, "S\x81\x20T"}),
    MakeCase("a lead byte before a NUL byte becomes a middle dot",
         kEnv + "ServerDrive=S\x81\x00T\r\nSystemENV=3\r\n"s, kDrive, {0, "S\x81\x45"})
        .SingleByte({0, "S\x81"}),
    MakeCase("0x80 stays",
         kEnv + "ServerDrive=S\x80T\r\n"s, kDrive, {0, "S\x80T"}),
    MakeCase("0xFD stays",
         kEnv + "ServerDrive=S\xFDT\r\n"s, kDrive, {0, "S\xFDT"}),
    MakeCase("a half-width katakana stays",
         kEnv + "ServerDrive=S\xA1T\r\n"s, kDrive, {0, "S\xA1T"}),
    MakeCase("a double-byte symbol stays",
         kEnv + "ServerDrive=S\x81\x8DT\r\n"s, kDrive, {0, "S\x81\x8DT"}),
    MakeCase("Latin-1 letters stay",
         kEnv + "ServerDrive=\xE9\xC9\r\n"s, kDrive, {0, "\xE9\xC9"}),
    MakeCase("default text",
         kEnv + "A=1\r\n"s, kDrive, {77, "dflt"}),
    MakeCase("trailing blanks of the default are dropped",
         kEnv + "A=1\r\n"s, kDrive, {77, "dflt"})
        .Default("dflt  "),
    MakeCase("a blank-only default keeps its first blank",
         kEnv, kDrive, {77, " "})
        .Default("   "),
    MakeCase("leading blanks of the default stay",
         kEnv + "A=1\r\n"s, kDrive, {77, "  dflt"})
        .Default("  dflt"),
    MakeCase("a trailing tab of the default stays",
         kEnv + "A=1\r\n"s, kDrive, {77, "dflt\t"})
        .Default("dflt\t"),
    MakeCase("quotes of the default are taken off",
         kEnv + "A=1\r\n"s, kDrive, {77, "dflt"})
        .Default("\"dflt\""),
    MakeCase("single quotes of the default are taken off",
         kEnv, kDrive, {77, "x"})
        .Default("'x'"),
    MakeCase("the default is cut to the buffer",
         kEnv, kDrive, {77, "ddd"})
        .Default("dddddddddd")
        .Buffer(4),
    MakeCase("2000 characters are cut to 1023",
         kEnv + "ServerDrive=" + std::string(2000, 'a') + "\r\n", kDrive, {0, std::string(1023, 'a')}),
    MakeCase("1023 characters fit",
         kEnv + "ServerDrive=" + std::string(1023, 'a') + "\r\n", kDrive, {0, std::string(1023, 'a')}),
    MakeCase("1024 characters are cut to 1023",
         kEnv + "ServerDrive=" + std::string(1024, 'a') + "\r\n", kDrive, {0, std::string(1023, 'a')}),
    MakeCase("1000 double-byte characters: whole characters within 1023 bytes",
         kEnv + "ServerDrive=" + Repeat("\x95\x5C", 1000) + "\r\n", kDrive, {0, Repeat("\x95\x5C", 511)})
        .SingleByte({0, Repeat("\x95\x5C", 511) + "\x95"}),
    MakeCase("one single-byte and 1000 double-byte characters fill 1023 bytes",
         kEnv + "ServerDrive=a" + Repeat("\x95\x5C", 1000) + "\r\n", kDrive, {0, "a" + Repeat("\x95\x5C", 511)}),
    MakeCase("quoted 1022 characters fit",
         kEnv + "ServerDrive=\"" + std::string(1022, 'a') + "\"\r\n", kDrive, {0, std::string(1022, 'a')}),
    MakeCase("quoted 1023 characters lose the last one with the quote",
         kEnv + "ServerDrive=\"" + std::string(1023, 'a') + "\"\r\n", kDrive, {0, std::string(1022, 'a')}),
    MakeCase("quoted 1024 characters keep the opening quote off only",
         kEnv + "ServerDrive=\"" + std::string(1024, 'a') + "\"\r\n", kDrive, {0, std::string(1023, 'a')}),
    MakeCase("quoted 600 double-byte characters",
         kEnv + "ServerDrive=\"" + Repeat("\x95\x5C", 600) + "\"\r\n", kDrive, {0, Repeat("\x95\x5C", 511)})
        .SingleByte({0, Repeat("\x95\x5C", 511) + "\x95"}),
    MakeCase("three double-byte characters into 4 bytes",
         kEnv + "ServerDrive=\x95\x5C\x95\x5C\x95\x5C\r\n"s, kDrive, {0, "\x95\x5C"})
        .Buffer(4)
        .SingleByte({0, "\x95\x5C\x95"}),
    MakeCase("three double-byte characters into 5 bytes",
         kEnv + "ServerDrive=\x95\x5C\x95\x5C\x95\x5C\r\n"s, kDrive, {0, "\x95\x5C\x95\x5C"})
        .Buffer(5),
    MakeCase("three double-byte characters into 6 bytes",
         kEnv + "ServerDrive=\x95\x5C\x95\x5C\x95\x5C\r\n"s, kDrive, {0, "\x95\x5C\x95\x5C"})
        .Buffer(6)
        .SingleByte({0, "\x95\x5C\x95\x5C\x95"}),
    MakeCase("three double-byte characters into 7 bytes",
         kEnv + "ServerDrive=\x95\x5C\x95\x5C\x95\x5C\r\n"s, kDrive, {0, "\x95\x5C\x95\x5C\x95\x5C"})
        .Buffer(7),
    MakeCase("a double-byte character does not fit the last byte",
         kEnv + "ServerDrive=a\x95\x5C\x95\x5C\x95\x5C\r\n"s, kDrive, {0, "a"})
        .Buffer(3)
        .SingleByte({0, "a\x95"}),
    MakeCase("mixed characters into 5 bytes",
         kEnv + "ServerDrive=ab\x95\x5C" "cd\r\n"s, kDrive, {0, "ab\x95\x5C"})
        .Buffer(5),
    MakeCase("quoted double-byte characters into 5 bytes",
         kEnv + "ServerDrive=\"\x95\x5C\x95\x5C\x95\x5C\x95\x5C\"\r\n"s, kDrive, {0, "\x95\x5C\x95\x5C"})
        .Buffer(5),
    MakeCase("quoted double-byte characters into 6 bytes",
         kEnv + "ServerDrive=\"\x95\x5C\x95\x5C\x95\x5C\x95\x5C\"\r\n"s, kDrive, {0, "\x95\x5C\x95\x5C"})
        .Buffer(6)
        .SingleByte({0, "\x95\x5C\x95\x5C\x95"}),
    MakeCase("quoted double-byte characters into 10 bytes",
         kEnv + "ServerDrive=\"\x95\x5C\x95\x5C\x95\x5C\x95\x5C\"\r\n"s, kDrive, {0, "\x95\x5C\x95\x5C\x95\x5C\x95\x5C"})
        .Buffer(10),
    MakeCase("a buffer of 1 byte",
         kEnv + "ServerDrive=S\r\n"s, kDrive, {0, ""})
        .Buffer(1),
    MakeCase("a buffer of 2 bytes",
         kEnv + "ServerDrive=ST\r\n"s, kDrive, {0, "S"})
        .Buffer(2),
    MakeCase("0x01 is no blank",
         kEnv + "\x01ServerDrive\x01=\x01S\x01\r\n"s, kDrive, {77, "dflt"}),
    MakeCase("0x08 is no blank",
         kEnv + "\x08ServerDrive\x08=\x08S\x08\r\n"s, kDrive, {77, "dflt"}),
    MakeCase("tab is a blank",
         kEnv + "\tServerDrive\t=\tS\t\r\n"s, kDrive, {0, "S"}),
    MakeCase("VT is a blank",
         kEnv + "\x0BServerDrive\x0B=\x0BS\x0B\r\n"s, kDrive, {0, "S"}),
    MakeCase("FF is a blank",
         kEnv + "\x0CServerDrive\x0C=\x0CS\x0C\r\n"s, kDrive, {0, "S"}),
    MakeCase("0x0E is no blank",
         kEnv + "\x0EServerDrive\x0E=\x0ES\x0E\r\n"s, kDrive, {77, "dflt"}),
    MakeCase("0x1A is a blank",
         kEnv + "\x1AServerDrive\x1A=\x1AS\x1A\r\n"s, kDrive, {0, "S"}),
    MakeCase("ESC is no blank",
         kEnv + "\x1BServerDrive\x1B=\x1BS\x1B\r\n"s, kDrive, {77, "dflt"}),
    MakeCase("0x1C is no blank",
         kEnv + "\x1CServerDrive\x1C=\x1CS\x1C\r\n"s, kDrive, {77, "dflt"}),
    MakeCase("0x1F is no blank",
         kEnv + "\x1FServerDrive\x1F=\x1FS\x1F\r\n"s, kDrive, {77, "dflt"}),
    MakeCase("space is a blank",
         kEnv + " ServerDrive = S \r\n"s, kDrive, {0, "S"}),
    MakeCase("DEL is no blank",
         kEnv + "\x7FServerDrive\x7F=\x7FS\x7F\r\n"s, kDrive, {77, "dflt"}),
    MakeCase("0x85 is no blank",
         kEnv + "\x85\x53" "erverDrive\x85\x3D\x85\x53\x85\x0D\n"s, kDrive, {77, "dflt"}),
    MakeCase("0xA0 is no blank",
         kEnv + "\xA0ServerDrive\xA0=\xA0S\xA0\r\n"s, kDrive, {77, "dflt"}),
  };
  return cases;
}

}  // namespace profile_cases
