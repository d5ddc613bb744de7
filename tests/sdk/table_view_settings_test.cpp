// The saved settings of a table view, byte for byte: the current record and
// those of earlier versions, and what is refused.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sdk/table_view_settings.h"
#include "support/memory_state_stream.h"

namespace {

// Builds a saved record byte by byte, as an older plug-in wrote it.
class RecordBytes {
 public:
  RecordBytes& U32(uint32_t v) { return Append(&v, 4); }
  RecordBytes& Byte(uint8_t v) { return Append(&v, 1); }
  RecordBytes& Text256(const std::string& text) {
    char buffer[256] = {};
    std::strncpy(buffer, text.c_str(), sizeof buffer - 1);
    return Append(buffer, sizeof buffer);
  }
  RecordBytes& Fill(size_t n, uint8_t value) { return bytes_.insert(bytes_.end(), n, value), *this; }
  // One filter and one formatting record as versions 1044 and 1045 wrote them.
  RecordBytes& OldLayouts() {
    U32(1).U32(5).U32(1).U32(2).U32(3).Text256("first").U32(11).Text256("second").U32(22);
    U32(1).U32(6).U32(7).U32(8);
    for (int b = 0; b < 3; ++b)
      Text256("cond" + std::to_string(b)).U32(100 + b).U32(0x11).U32(0x22).U32(0x33).U32(0x44).Fill(60, 'F')
          .Byte(1).Fill(3, 0xEE);  // an 80-byte style
    return *this;
  }
  std::vector<uint8_t> Bytes() const { return bytes_; }

 private:
  RecordBytes& Append(const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
    return *this;
  }
  std::vector<uint8_t> bytes_;
};

TableCondition Condition(const char* text, uint32_t value) {
  TableCondition condition = {0, value, {}, -1};
  std::strcpy(condition.text, text);
  return condition;
}

bool ReadAll(const std::vector<uint8_t>& bytes, SavedTableView* view, size_t* unread = nullptr) {
  MemoryStateStream stream(bytes);
  const bool ok = ReadTableViewHead(stream, view) && ReadTableViewTail(stream, view);
  if (unread) *unread = stream.Unread();
  return ok;
}

std::vector<uint8_t> Written(const SavedTableView& view) {
  MemoryStateStream stream;
  WriteTableViewHead(stream, view);
  WriteTableViewTail(stream, view);
  return stream.Bytes();
}

SavedTableView SampleView() {
  SavedTableView view;
  view.columns = {{0, 40}, {7, 120}, {3, 64}};
  view.sortFields = {{7, 1}, {3, 0}};
  view.listServiceSettings = {1, 2, 3, 4, 5};
  FilterRecord filter = DefaultFilterRecord();
  filter.column = 7;
  filter.values[0] = 9;
  filter.conditions[0].value = 42;
  std::strcpy(filter.conditions[0].text, "АБВ client");
  filter.conditions[1].kind = 2;
  view.filters = {filter, DefaultFilterRecord()};
  FormatRecord format = DefaultFormatRecord();
  format.column = 3;
  format.values[1] = 5;
  format.blocks[2].style.values[0] = 0x0000FF;
  format.blocks[2].style.font.lfHeight = -12;
  std::strcpy(format.blocks[2].style.font.lfFaceName, "Tahoma");
  format.blocks[2].style.flag = 1;
  std::strcpy(format.blocks[1].condition.text, "> 10");
  view.formatting = {format};
  return view;
}

TEST(TableViewSettings, CurrentRecordRoundTrips) {
  const SavedTableView saved = SampleView();
  const std::vector<uint8_t> bytes = Written(saved);
  EXPECT_EQ(bytes.size(), 4 + 4 + 3 * 8 + 1 + 4 + 2 * 8 + 4 + 5 + 4 + 2 * 552 + 4 + 1 * 1047u);
  SavedTableView loaded;
  size_t unread = 99;
  ASSERT_TRUE(ReadAll(bytes, &loaded, &unread));
  EXPECT_EQ(unread, 0u);
  EXPECT_EQ(loaded.version, 1046u);
  ASSERT_EQ(loaded.columns.size(), 3u);
  EXPECT_EQ(loaded.columns[1].identifier, 7);
  EXPECT_EQ(loaded.columns[1].width, 120);
  ASSERT_EQ(loaded.sortFields.size(), 2u);
  EXPECT_EQ(loaded.sortFields[1].column, 3);
  EXPECT_EQ(loaded.sortFields[1].second, 0);
  EXPECT_TRUE(loaded.hasListServiceSettings);
  EXPECT_EQ(loaded.listServiceSettings, saved.listServiceSettings);
  ASSERT_EQ(loaded.filters.size(), 2u);
  EXPECT_EQ(std::memcmp(&loaded.filters[0], &saved.filters[0], sizeof(FilterRecord)), 0);
  ASSERT_EQ(loaded.formatting.size(), 1u);
  EXPECT_EQ(std::memcmp(&loaded.formatting[0], &saved.formatting[0], sizeof(FormatRecord)), 0);
  EXPECT_EQ(loaded.formatting[0].blocks[0].condition.last, -1);
}

TEST(TableViewSettings, NoSortFieldsWritesTheFlagAloneAndNoListSettingsWritesLengthZero) {
  SavedTableView view;
  view.columns = {{0, 30}};
  const std::vector<uint8_t> bytes = Written(view);
  EXPECT_EQ(bytes, RecordBytes().U32(1046).U32(1).U32(0).U32(30).Byte(0).U32(0).U32(0).U32(0).Bytes());
  SavedTableView loaded;
  ASSERT_TRUE(ReadAll(bytes, &loaded));
  EXPECT_TRUE(loaded.sortFields.empty());
  EXPECT_TRUE(loaded.hasListServiceSettings);
  EXPECT_TRUE(loaded.listServiceSettings.empty());
}

TEST(TableViewSettings, Version1043CarriesOneSortFieldWithoutACount) {
  SavedTableView view;
  size_t unread = 99;
  ASSERT_TRUE(ReadAll(RecordBytes().U32(1043).U32(2).U32(0).U32(40).U32(5).U32(90).Byte(1).U32(5).U32(1).Bytes(),
                      &view, &unread));
  EXPECT_EQ(unread, 0u);
  EXPECT_EQ(view.version, 1043u);
  ASSERT_EQ(view.columns.size(), 2u);
  EXPECT_EQ(view.columns[1].identifier, 5);
  ASSERT_EQ(view.sortFields.size(), 1u);
  EXPECT_EQ(view.sortFields[0].column, 5);
  EXPECT_EQ(view.sortFields[0].second, 1);
  EXPECT_FALSE(view.HasServiceSettings());
  EXPECT_TRUE(view.filters.empty());
  EXPECT_TRUE(view.formatting.empty());
}

TEST(TableViewSettings, Versions1044And1045ConvertOldFiltersAndFormatting) {
  RecordBytes r1044, r1045;
  r1044.U32(1044).U32(1).U32(0).U32(40).Byte(1).U32(2).U32(5).U32(1).U32(6).U32(0).OldLayouts();
  r1045.U32(1045).U32(1).U32(0).U32(40).Byte(0).U32(3).Byte(7).Byte(8).Byte(9).OldLayouts();
  SavedTableView views[2];
  size_t unread = 99;
  ASSERT_TRUE(ReadAll(r1044.Bytes(), &views[0], &unread));
  EXPECT_EQ(unread, 0u);
  EXPECT_FALSE(views[0].hasListServiceSettings);
  ASSERT_EQ(views[0].sortFields.size(), 2u);
  EXPECT_EQ(views[0].sortFields[1].column, 6);
  ASSERT_TRUE(ReadAll(r1045.Bytes(), &views[1]));
  EXPECT_TRUE(views[1].hasListServiceSettings);
  EXPECT_EQ(views[1].listServiceSettings, (std::vector<uint8_t>{7, 8, 9}));
  // The old records as current ones: conditions of kind 0 with no last item (-1), styles copied whole.
  FilterRecord filter = {5, {1, 2, 3}, {Condition("first", 11), Condition("second", 22)}};
  FormatRecord format = {6, {7, 8}, {}};
  for (int b = 0; b < 3; ++b) {
    format.blocks[b].condition = Condition(("cond" + std::to_string(b)).c_str(), 100 + b);
    TableStyle& style = format.blocks[b].style;
    style = {{0x11, 0x22, 0x33, 0x44}, {}, 1};
    std::memset(&style.font, 'F', sizeof style.font);
  }
  for (const SavedTableView& view : views) {
    ASSERT_EQ(view.filters.size() + view.formatting.size(), 2u);
    EXPECT_EQ(std::memcmp(&view.filters[0], &filter, sizeof filter), 0);
    EXPECT_EQ(std::memcmp(&view.formatting[0], &format, sizeof format), 0);
  }
}

TEST(TableViewSettings, UnknownVersionsAndEveryTruncationAreRefused) {
  for (uint32_t version : {0u, 1042u, 1047u, 0xFFFFFFFFu}) {
    const std::vector<uint8_t> bytes = RecordBytes().U32(version).U32(1).U32(0).U32(40).Byte(0).Bytes();
    SavedTableView view;
    size_t unread = 0;
    EXPECT_FALSE(ReadAll(bytes, &view, &unread)) << version;
    EXPECT_EQ(unread, bytes.size() - 4) << "nothing read past the version " << version;
  }
  const std::vector<uint8_t> bytes = Written(SampleView());
  for (size_t length = 0; length < bytes.size(); ++length) {
    SavedTableView view;
    ASSERT_FALSE(ReadAll(std::vector<uint8_t>(bytes.begin(), bytes.begin() + length), &view)) << "cut at " << length;
  }
}

TEST(TableViewSettings, AbsurdCountsAreRefused) {
  // Each record is complete up to the absurd count, followed by plenty of bytes.
  const std::pair<const char*, std::vector<uint8_t>> cases[] = {
      {"columns", RecordBytes().U32(1046).U32(0x7FFFFFFF).Fill(4096, 0).Bytes()},
      {"columns just past the limit", RecordBytes().U32(1046).U32(kMaxSavedColumns + 1).Fill(9000, 0).Bytes()},
      {"sort fields", RecordBytes().U32(1046).U32(0).Byte(1).U32(0xFFFFFFFF).Fill(4096, 0).Bytes()},
      {"sort flag", RecordBytes().U32(1046).U32(0).Byte(2).U32(0).U32(0).U32(0).U32(0).Bytes()},
      {"list settings", RecordBytes().U32(1046).U32(0).Byte(0).U32(0xFFFFFFF0).Fill(4096, 0).Bytes()},
      {"filters", RecordBytes().U32(1046).U32(0).Byte(0).U32(0).U32(0x10000000).Fill(4096, 0).Bytes()},
      {"formatting", RecordBytes().U32(1046).U32(0).Byte(0).U32(0).U32(0).U32(0x10000000).Fill(4096, 0).Bytes()},
      {"old filters", RecordBytes().U32(1044).U32(0).Byte(0).U32(0x7FFFFFFF).Fill(4096, 0).Bytes()},
      {"old formatting", RecordBytes().U32(1045).U32(0).Byte(0).U32(0).U32(0).U32(5000).Fill(4096, 0).Bytes()},
  };
  for (const auto& c : cases) {
    SavedTableView view;
    EXPECT_FALSE(ReadAll(c.second, &view)) << c.first;
  }
}

}  // namespace
