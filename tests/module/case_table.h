#pragma once

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// One case of a table under tests/module/cases: the words of its line after
// the check's name. A line is split at "|" when it holds one, else at blanks;
// "#" starts a comment.
struct CaseRow {
  std::vector<std::string> words;
  const char* Text(std::size_t at) const { return words.at(at).c_str(); }
  // A number worked by hand: "-" is a value not set, "a/b" a fraction.
  double operator[](std::size_t at) const {
    const std::string& word = words.at(at);
    const double number = word == "-" ? 1e30 : std::strtod(word.c_str(), nullptr);
    const std::size_t slash = word.find('/');
    return slash == std::string::npos ? number : number / std::strtod(&word[slash + 1], nullptr);
  }
};

using CaseChecks = std::map<std::string, std::function<void(const CaseRow&)>>;

// Runs each line of the table through the check it names; every check must
// have a case, and every line a check.
inline void RunCaseTable(const char* name, const CaseChecks& checks) {
  std::istringstream lines(ReadFileBytes(std::string(VANTREL_CASES_DIR) + "/" + name));
  std::map<std::string, int> counts;
  int number = 0;
  for (std::string line; std::getline(lines, line);) {
    ++number;
    line = line.substr(0, line.find('#'));
    const char separator = line.find('|') != std::string::npos ? '|' : ' ';
    CaseRow row;
    std::istringstream words(separator == '|' ? line + '|' : line);
    for (std::string word; std::getline(words, word, separator);) {
      word.erase(0, word.find_first_not_of(" \t\r"));
      word.erase(word.find_last_not_of(" \t\r") + 1);
      if (!word.empty() || separator == '|') row.words.push_back(word);
    }
    if (row.words.empty() || row.words[0].empty()) continue;
    SCOPED_TRACE(std::string(name) + ":" + std::to_string(number) + ": " + line);
    const auto check = checks.find(row.words[0]);
    ASSERT_TRUE(check != checks.end()) << "no check " << row.words[0];
    ++counts[row.words[0]];
    row.words.erase(row.words.begin());
    check->second(row);
  }
  for (const auto& check : checks) EXPECT_GT(counts[check.first], 0) << check.first;
}
