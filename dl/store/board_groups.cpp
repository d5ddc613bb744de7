#include "dl/store/board_groups.h"

#include "dl/store/cache_item_id.h"
#include "dl/store/ini_file.h"
#include "dl/store/text_lists.h"

namespace DL {

const char kProhibitedBoards[] = "PROHIBITED_BOARDS";

std::unique_ptr<TBoardGroupTable> ReadBoardLists(const TIniFile& ini,
                                                 const std::string& tradingPoint) {
  auto table = std::make_unique<TBoardGroupTable>();
  std::string section = "COMMISSIONSCALEBOARDS";
  if (!tradingPoint.empty()) section += "_" + tradingPoint;
  TBoardGroup prohibited;
  prohibited.GroupKind = 2;
  if (ini.FindSection(section, "").empty()) {
    prohibited.Boards.emplace_back();
  } else {
    for (const auto& entry : ini.ReadSection(section)) {
      TBoardGroup group;
      group.Boards = SplitCommaList(entry.first);
      group.GroupKind = 1;
      for (const std::string& board : group.Boards) {
        table->emplace(board, group);
        prohibited.Boards.push_back(board);
      }
    }
  }
  (*table)[kProhibitedBoards] = prohibited;
  return table;
}

bool FindBoardGroup(const TBoardGroupTable& table, const TIniCacheItemID& id, TBoardGroup& group) {
  auto found = table.find(id.GetBoard());
  if (found != table.end()) {
    group = found->second;
    return true;
  }
  auto prohibited = table.find(kProhibitedBoards);
  group = prohibited != table.end() ? prohibited->second : TBoardGroup();
  return false;
}

bool GetBoardGroup(TaggedStringMap& tables, const TIniCacheItemID& id, TBoardGroup& group) {
  std::unique_ptr<TBoardGroupTable>& table = tables.Tables[id.GetTradingPoint()];
  if (!table) table = ReadBoardLists(*tables.Ini, id.GetTradingPoint());
  return FindBoardGroup(*table, id, group);
}

}  // namespace DL
