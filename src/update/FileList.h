// An ordered, growable list of path texts. Entries are appended at the end
// and read by index; duplicates are not looked for.
//
// The paths are kept end to end in one buffer with an offset table, so a
// listing of 100,000 files costs little more than the bytes of its paths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class FileList {
 public:
  void Add(std::string_view path);
  std::size_t GetCount() const { return m_ends.size(); }
  // The entry at index, 0 to GetCount() - 1. The view stays valid until the
  // next Add.
  std::string_view GetAt(std::size_t index) const;
  std::string operator[](std::size_t index) const { return std::string(GetAt(index)); }
  void RemoveAll();

 private:
  std::string m_bytes;
  std::vector<std::size_t> m_ends;
};
