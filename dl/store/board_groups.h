#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace DL {

class TIniFile;
class TIniCacheItemID;

// The boards that share one commission scale group.
struct TBoardGroup {
  std::vector<std::string> Boards;
  std::vector<int> OtherBoards;
  int GroupKind = 0;  // 1: a group of the section, 2: the prohibited boards
  bool GroupFlag = false;
};

// Board code -> group, for one trading point.
using TBoardGroupTable = std::map<std::string, TBoardGroup>;

// The board-group tables of every trading point met so far, read on demand.
struct TaggedStringMap {
  explicit TaggedStringMap(const TIniFile* ini) : Ini(ini) {}

  const TIniFile* Ini;
  std::map<std::string, std::unique_ptr<TBoardGroupTable>> Tables;
};

extern const char kProhibitedBoards[];

std::unique_ptr<TBoardGroupTable> ReadBoardLists(const TIniFile& ini,
                                                 const std::string& tradingPoint);
// True when the board of the id has a group; otherwise the prohibited boards
// are copied and the answer is false.
bool FindBoardGroup(const TBoardGroupTable& table, const TIniCacheItemID& id, TBoardGroup& group);
bool GetBoardGroup(TaggedStringMap& tables, const TIniCacheItemID& id, TBoardGroup& group);

}  // namespace DL
