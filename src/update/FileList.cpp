#include "update/FileList.h"

void FileList::Add(std::string_view path) {
  m_bytes.append(path.data(), path.size());
  m_ends.push_back(m_bytes.size());
}

std::string_view FileList::GetAt(std::size_t index) const {
  const std::size_t begin = index == 0 ? 0 : m_ends[index - 1];
  return std::string_view(m_bytes).substr(begin, m_ends[index] - begin);
}

void FileList::RemoveAll() {
  m_bytes.clear();
  m_ends.clear();
}
