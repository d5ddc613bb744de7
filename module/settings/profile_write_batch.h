// While a batch is open on a settings file, the settings' writes to it are
// gathered and the file is written once when the batch closes. Each write of
// a profile function rewrites the whole file, so writing a file of many
// entries key by key costs the square of its size; a batch costs it once.
// The file ends as the same writes one by one would leave it (see CIniText).
#pragma once

#include <string>
#include <vector>

class CProfileWriteBatch {
 public:
  explicit CProfileWriteBatch(const std::string& path);
  ~CProfileWriteBatch();
  CProfileWriteBatch(const CProfileWriteBatch&) = delete;
  CProfileWriteBatch& operator=(const CProfileWriteBatch&) = delete;

  // The batch open on a file, or null: its writes go to the file at once.
  static CProfileWriteBatch* Of(const std::string& path);

  void Write(const std::string& section, const std::string& key, const std::string& value);

 private:
  struct Entry {
    std::string section, key, value;
  };
  void Apply() const;

  std::string m_path;
  std::vector<Entry> m_entries;
  CProfileWriteBatch* m_outer;
};
