#include "module/settings/profile_write_batch.h"

#include "module/settings/ini_text.h"

#include <windows.h>

#include <cstdio>

namespace {
// The settings are read and written on the host's user-interface thread only.
CProfileWriteBatch* g_openBatch = nullptr;

std::string ReadWholeFile(const std::string& path, bool* exists) {
  std::string bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  *exists = file != nullptr;
  if (file == nullptr) return bytes;
  char chunk[65536];
  for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
    bytes.append(chunk, got);
  std::fclose(file);
  return bytes;
}

// A file in UTF-16 is the profile functions' to edit.
bool IsWideText(const std::string& bytes) {
  return bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                               (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
}
}  // namespace

CProfileWriteBatch::CProfileWriteBatch(const std::string& path)
    : m_path(path), m_outer(g_openBatch) {
  g_openBatch = this;
}

CProfileWriteBatch::~CProfileWriteBatch() {
  g_openBatch = m_outer;
  Apply();
}

CProfileWriteBatch* CProfileWriteBatch::Of(const std::string& path) {
  for (CProfileWriteBatch* batch = g_openBatch; batch != nullptr; batch = batch->m_outer)
    if (batch->m_path == path) return batch;
  return nullptr;
}

void CProfileWriteBatch::Write(const std::string& section, const std::string& key,
                               const std::string& value) {
  m_entries.push_back({section, key, value});
}

void CProfileWriteBatch::Apply() const {
  if (m_entries.empty()) return;
  bool exists = false;
  const std::string bytes = ReadWholeFile(m_path, &exists);
  if (IsWideText(bytes)) {
    for (const Entry& entry : m_entries)
      WritePrivateProfileStringA(entry.section.c_str(), entry.key.c_str(), entry.value.c_str(),
                                 m_path.c_str());
    return;
  }
  CIniText text(bytes);
  for (const Entry& entry : m_entries) text.Write(entry.section, entry.key, entry.value);
  const std::string result = text.Text();
  // Write failures are not reported, as with the profile functions.
  if (FILE* file = std::fopen(m_path.c_str(), "wb")) {
    std::fwrite(result.data(), 1, result.size(), file);
    std::fclose(file);
  }
}
