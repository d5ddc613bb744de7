// Generated sequences over one client's one or two positions, long and
// short: the plug-in's sends (formed by the pattern, held at the send), the
// host's answers (taken, refused, an error text beside an id, taken and never
// reported), fills, executions and withdrawals, the client's own trades and
// his own orders, placed and withdrawn, and the host's records of each on
// their way late. The host reports things in the order
// they happened: an order's first record before anything that shows it,
// the order's and the position's records of a later fill or withdrawal in
// either order, position records now and then merging several changes,
// records while the host still holds a send's transaction, and a new host
// session (with or without the stop that forgets the clients) whose records
// are replayed in any order, an order perhaps filling between its position's
// record and its own; orders, ours and the client's, may expire with the
// session. After every step: no send went beyond what the client held
// less what our orders still had open, and once every record has arrived (a
// transaction never reported only counts so after a new session) a pattern
// that closes everything forms exactly that, less the client's own active
// orders when the host's count of lots in orders is considered. A failure prints its
// seed and steps; VANTREL_FILLS_SEED=<seed> plays that sequence alone.
#include "host/standin/host_records.h"
#include "host_record_builders.h"
#include "market_fixture.h"
#include "market_text.h"
#include "module/closing/closing_formation.h"
#include "module/log/vantrel_log.h"
#include "module/market_records.h"
#include "module/settings/module_settings.h"
#include "temp_folder.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <random>
#include <sstream>

namespace {
constexpr const char* kSecurities[] = {"RIZ6", "SiZ6"};
constexpr uint32_t kSequences = 4000;
constexpr int kSteps = 40;

struct TExchangeOrder {
  int32_t id;
  int position;
  bool buy;
  int lots, filled;
  bool live, withdrawn, expired;
  int Open() const { return live ? lots - filled : 0; }
};

// An order of the client's own: it never fills here (his trades do).
struct TOwnOrder {
  int32_t key;
  int position;
  bool buy;
  int lots;
  bool live, expired;
};

// What the host sends, on its way: an order's record (by its index among
// the orders), a position's record as the host saw it then, or a new
// session.
struct TRecord {
  enum Kind { kOrder, kOwnOrder, kPosition, kSession } kind;
  int index;  // the order (ours or the client's) or the position; for a session, whether the clients are forgotten
  uint32_t flags;
  int32_t lots, inBuys, inSells;  // an order's balance; a position's lots and lots in orders
  size_t ownTrades;  // how many of the client's own trades a position's record shows
  bool first;        // an order's first record
};

class FilledLotsTest : public MarketTest {
 protected:
  void SetUp() override {
    MarketTest::SetUp();
    LoadMarket(MarketText("closing_orders.ini"));
    // Never reached: every position closes whole.
    pattern.ParamIdx = 18, pattern.BoundaryValue = 1000;
    client.plannedNetPosition = -5e11, client.currentNetPosition = client.currentNetPositionOpen = 1e12;
    client.sfr = 0.5;
  }

  // False once a check failed.
  bool Play(uint32_t seed) {
    random.seed(seed);
    closing.ConsiderActiveOrders = Chance(2);
    closing.SecsForClosing.assign(kSecurities, kSecurities + 1 + Chance(2));
    book = CClosingOrderBook(), window = COrderStore(), orders.clear(), queue.clear(), steps.str("");
    truth.clear(), records.clear(), dirty.clear(), ownTrades.clear(), ownTradesSeen.clear(), lastId = 0, failed = false;
    own.clear(), unreported = false;
    for (const std::string& code : closing.SecsForClosing) {
      truth.push_back(Pick(-20, 20));
      records.push_back(PositionRecord({"FIRM1", "ACC1", code, 1, truth.back()}));
      dirty.push_back(false), ownTrades.emplace_back(), ownTradesSeen.push_back(0);
      steps << code << " held " << truth.back() << "\n";
      book.OnPositionRecord(records.back().data());
    }
    ShowPositions();
    for (int step = 0; step < kSteps && !failed; ++step) {
      const int action = Pick(0, 21);
      if (action < 5) Fill();
      else if (action < 7) Withdraw();
      else if (action < 9) OwnTrade();
      else if (action < 10) Flush();
      else if (action < 11) NewSession();
      else if (action < 12) PlaceOwnOrder();
      else if (action < 13) WithdrawOwnOrder();
      else Deliver(Pick(1, 3));
      Send();
      CheckFormsWhatIsLeftOnceEverythingArrived();
    }
    for (size_t position = 0; position < dirty.size(); ++position) Flush();
    Deliver(queue.size());
    CheckFormsWhatIsLeftOnceEverythingArrived();
    return !failed;
  }

  bool Chance(int outOf) { return Pick(1, outOf) == 1; }
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

  // The window forms anew, or sends what it formed before (a quantity the
  // manager set among it); each line is held at its send.
  void Send() {
    // The host tells of a new session, and of all before it, before it takes
    // a transaction in it.
    const auto session = std::find_if(queue.rbegin(), queue.rend(),
                                      [](const TRecord& record) { return record.kind == TRecord::kSession; });
    if (session != queue.rend()) Deliver(static_cast<size_t>(queue.rend() - session));
    const COrderStore::Key key = COrderStore::KeyOf("ACC1", "FIRM1");
    CClosingFormation formation(window, book, closing, modes, log);
    if (window.Find(key) == nullptr || Chance(2)) {
      window = COrderStore();
      formation.PrepareClosingOrders(client, pattern);
      if (window.Find(key) != nullptr && Chance(4)) {
        TOrderLine& line = *window.Find(key)->front();
        line.Quantity = Pick(1, 2 * static_cast<int>(line.Quantity));
      }
    }
    if (window.Find(key) == nullptr) return;
    for (const auto& line : *window.Find(key)) {
      if (!line->Sendable()) continue;
      const int lots = formation.LotsToSend(client, *line).Lots();
      if (lots <= 0) continue;
      const int position = line->SecCode == std::string(kSecurities[0]) ? 0 : 1;
      const bool buy = line->IsBuy != 0;
      line->Quantity = lots;
      const int answer = Pick(1, 10);
      line->TransId = answer == 1 ? kNoTransaction : ++lastId;
      line->Refused = answer <= 2;
      steps << "send " << line->SecCode << (buy ? " B " : " S ") << lots
            << (answer == 1   ? ": refused"
                : answer == 2 ? ": an error text beside the id"
                : answer == 3 ? ": taken, never reported (the exchange refused it)"
                              : "")
            << "\n";
      if (lots > TruthFree(position, buy, true)) {
        ADD_FAILURE() << line->SecCode << ": " << lots << " lots sent, " << TruthFree(position, buy, true) << " free";
        failed = true;
      }
      if (answer <= 3) {
        book.NoteSentOrder(*line);
        unreported = unreported || answer == 3;
        continue;
      }
      orders.push_back({line->TransId, position, buy, lots, 0, true, false, false});
      if (Chance(3)) SendWithRecordsOnTheWay(*line);
      else book.NoteSentOrder(*line), Report(orders.size() - 1, true);
    }
  }

  // While the host holds the transaction it reports what was on its way,
  // then the order and perhaps a first fill: all of it waits for the send.
  void SendWithRecordsOnTheWay(const TOrderLine& line) {
    steps << "  while the host holds it:\n";
    book.BeginSend();
    Deliver(Pick(0, 2));
    const size_t order = orders.size() - 1;
    Report(order, true);
    if (Chance(2)) FillOrder(order);
    Deliver(queue.size());
    book.NoteSentOrder(line);
    book.EndSend([this](const uint8_t* record) { book.OnOrderRecord(record); });
  }

  // Lots of the position on the side a buy or a sell closes that no order of
  // ours closes now; told: as far as the host has told of the client's own
  // trades (one it has not told of yet no send can know).
  int TruthFree(int position, bool buy, bool told = false, bool lessOwnOrders = false) const {
    int held = truth[position];
    for (size_t trade = told ? ownTradesSeen[position] : ownTrades[position].size(); trade < ownTrades[position].size();
         ++trade)
      held -= ownTrades[position][trade];
    int free = std::max(0, buy ? -held : held);
    for (const TExchangeOrder& order : orders)
      if (order.position == position && order.buy == buy) free -= order.Open();
    for (const TOwnOrder& order : own)
      if (lessOwnOrders && order.live && order.position == position && order.buy == buy) free -= order.lots;
    return std::max(free, 0);
  }

  void Fill() {
    const int order = LiveOrder();
    if (order >= 0) FillOrder(order);
  }

  void FillOrder(size_t order) {
    TExchangeOrder& filled = orders[order];
    const int lots = Pick(1, filled.Open());
    filled.filled += lots;
    filled.live = filled.filled < filled.lots;
    truth[filled.position] += filled.buy ? lots : -lots;
    steps << "order " << filled.id << " fills " << lots << "\n";
    Report(order, false);
  }

  void Withdraw() {
    const int order = LiveOrder();
    if (order < 0) return;
    orders[order].live = false, orders[order].withdrawn = true;
    steps << "order " << orders[order].id << " withdrawn\n";
    Report(order, false);
  }

  void OwnTrade() {
    const int position = Pick(0, static_cast<int>(truth.size()) - 1);
    const int lots = Pick(1, 5) * (Chance(2) ? 1 : -1);
    truth[position] += lots;
    ownTrades[position].push_back(lots);
    steps << "the client trades " << lots << " of " << kSecurities[position] << "\n";
    PositionChanged(position);
  }

  // The client places an order of his own: its first record comes before
  // anything that counts it.
  void PlaceOwnOrder() {
    const int position = Pick(0, static_cast<int>(truth.size()) - 1);
    own.push_back({static_cast<int32_t>(100000 + own.size()), position, Chance(2), Pick(1, 5), true, false});
    steps << "the client places his own " << (own.back().buy ? "buy" : "sell") << " of " << own.back().lots << " "
          << kSecurities[position] << " (key " << own.back().key << ")\n";
    queue.push_back(OwnRecord(own.size() - 1));
    queue.back().first = true;
    PositionChanged(position);
  }

  // He withdraws one: its record and the position's in either order.
  void WithdrawOwnOrder() {
    std::vector<size_t> live;
    for (size_t n = 0; n < own.size(); ++n)
      if (own[n].live) live.push_back(n);
    if (live.empty()) return;
    const size_t order = live[Pick(0, static_cast<int>(live.size()) - 1)];
    const int position = own[order].position;
    own[order].live = false;
    steps << "the client withdraws his order " << own[order].key << "\n";
    const bool positionFirst = !dirty[position] && Chance(2);
    if (positionFirst) Flush(position);
    queue.push_back(OwnRecord(order));
    if (!positionFirst) PositionChanged(position);
  }

  TRecord OwnRecord(size_t order) const {
    const uint32_t flags = own[order].live ? host_data::order::kActive : host_data::order::kWithdrawn;
    return {TRecord::kOwnOrder, static_cast<int>(order), flags, own[order].lots, 0, 0, 0, false};
  }

  int LiveOrder() {
    std::vector<int> live;
    for (size_t n = 0; n < orders.size(); ++n)
      if (orders[n].live) live.push_back(static_cast<int>(n));
    return live.empty() ? -1 : live[Pick(0, static_cast<int>(live.size()) - 1)];
  }

  TRecord OrderRecord(size_t order) const {
    const TExchangeOrder& reported = orders[order];
    const uint32_t flags = reported.live        ? host_data::order::kActive
                           : reported.withdrawn ? host_data::order::kWithdrawn
                                                : 0u;
    return {TRecord::kOrder, static_cast<int>(order), flags, reported.lots - reported.filled, 0, 0, 0, false};
  }

  // The order's record and its position's: an order's first record before
  // anything shows it, the two of a later change in either order. A
  // position record sent at once may come first; one that merges this
  // change with later ones comes after.
  void Report(size_t order, bool first) {
    const int position = orders[order].position;
    const bool positionFirst = !first && !dirty[position] && Chance(2);
    if (positionFirst) Flush(position);
    queue.push_back(OrderRecord(order));
    queue.back().first = first;
    if (!positionFirst) PositionChanged(position);
  }

  // The host reports the position now, or later with what changes next.
  void PositionChanged(int position) {
    dirty[position] = true;
    if (!Chance(3)) Flush(position);
  }

  void Flush() {
    for (size_t position = 0; position < dirty.size(); ++position)
      if (dirty[position]) return Flush(static_cast<int>(position));
  }

  void Flush(int position) {
    queue.push_back(PositionSeen(position));
    dirty[position] = false;
  }

  // The position and its lots in active orders, as the host sees them now.
  TRecord PositionSeen(int position) const {
    TRecord record{TRecord::kPosition, position, 0, truth[position], 0, 0, ownTrades[position].size(), false};
    for (const TExchangeOrder& order : orders)
      if (order.position == position) (order.buy ? record.inBuys : record.inSells) += order.Open();
    for (const TOwnOrder& order : own)
      if (order.live && order.position == position) (order.buy ? record.inBuys : record.inSells) += order.lots;
    return record;
  }

  // The host starts anew, perhaps after the stop that forgets the clients;
  // an order may expire with the old session, untold, and what was on its
  // way but orders' first records may be lost. It reports every position
  // and every order it still holds, in any order.
  void NewSession() {
    const bool forgets = Chance(2), loses = Chance(2);
    steps << "a new host session" << (forgets ? " after a stop" : "") << (loses ? ", records lost" : "") << "\n";
    if (loses)
      queue.erase(std::remove_if(queue.begin(), queue.end(), [](const TRecord& record) { return !record.first; }),
                  queue.end());
    for (TExchangeOrder& order : orders) {
      if (!order.live || !Chance(3)) continue;
      order.live = false, order.expired = true;
      steps << "order " << order.id << " expires\n";
    }
    for (TOwnOrder& order : own) {
      if (!order.live || !Chance(3)) continue;
      order.live = false, order.expired = true;
      steps << "the client's order " << order.key << " expires\n";
    }
    queue.push_back({TRecord::kSession, forgets ? 1 : 0, 0, 0, 0, 0, 0, false});
    std::vector<TRecord> replay;
    for (size_t position = 0; position < truth.size(); ++position) {
      replay.push_back(PositionSeen(static_cast<int>(position)));
      dirty[position] = false;
    }
    for (size_t order = 0; order < orders.size(); ++order)
      if (!orders[order].expired) replay.push_back(OrderRecord(order));
    for (size_t order = 0; order < own.size(); ++order)
      if (own[order].live) replay.push_back(OwnRecord(order));
    std::shuffle(replay.begin(), replay.end(), random);
    const int filled = Chance(2) ? FillBetweenPositionAndReplay(replay) : -1;
    queue.insert(queue.end(), replay.begin(), replay.end());
    if (filled >= 0) PositionChanged(filled);
  }

  // An order fills after the session's record of its position, before the
  // host reports the order again: its record shows the fill, the position's
  // record of it comes later. The position filled, or -1.
  int FillBetweenPositionAndReplay(std::vector<TRecord>& replay) {
    for (auto record = replay.begin(); record != replay.end(); ++record) {
      if (record->kind != TRecord::kOrder || !orders[record->index].live) continue;
      const int position = orders[record->index].position;
      if (std::none_of(replay.begin(), record, [position](const TRecord& before) {
            return before.kind == TRecord::kPosition && before.index == position;
          }))
        continue;
      TExchangeOrder& order = orders[record->index];
      const int lots = Pick(1, order.Open());
      order.filled += lots;
      order.live = order.filled < order.lots;
      truth[position] += order.buy ? lots : -lots;
      steps << "order " << order.id << " fills " << lots << " before the host reports it again\n";
      *record = OrderRecord(record->index);
      return position;
    }
    return -1;
  }

  void ShowPositions() {
    client.positions.clear();
    for (auto& record : records) client.positions.push_back(record.data());
  }

  void Deliver(size_t count) {
    for (; count > 0 && !queue.empty(); --count, queue.pop_front()) {
      const TRecord& record = queue.front();
      if (record.kind == TRecord::kSession) {
        // A transaction taken before it and never reported is shown gone by
        // the session's records.
        unreported = false;
        book.OnNewHostSession();
        if (record.index != 0) client.positions.clear();
        steps << "  a new session" << (record.index != 0 ? ", the clients forgotten" : "") << "\n";
      } else if (record.kind == TRecord::kOwnOrder) {
        const TOwnOrder& placed = own[record.index];
        OrderSpec order;
        order.key = placed.key, order.firm = "FIRM1", order.account = "ACC1";
        FindSecurityInClasses(kSecurities[placed.position], 0x48, 0x900, &order.securityIndex);
        order.flags = record.flags | (placed.buy ? 0u : host_data::order::kSell);
        order.quantity = order.balance = placed.lots;
        book.OnOrderRecord(BuildOrder(order).bytes.data());
        steps << "  record: the client's order " << placed.key
              << (record.flags == host_data::order::kActive ? " active" : " withdrawn") << "\n";
      } else if (record.kind == TRecord::kOrder) {
        const TExchangeOrder& exchange = orders[record.index];
        OrderSpec order;
        order.key = order.transactionId = exchange.id;
        order.flags = record.flags, order.quantity = exchange.lots, order.balance = record.lots;
        book.OnOrderRecord(BuildOrder(order).bytes.data());
        steps << "  record: order " << order.key << (record.flags == host_data::order::kActive ? " active, balance "
                                                     : record.flags == 0 ? " executed" : " withdrawn, balance ")
              << (record.flags == 0 ? "" : std::to_string(record.lots)) << "\n";
      } else {
        std::vector<uint8_t>& position = records[record.index];
        PutField(position, 68, record.lots), PutField(position, 72, record.inBuys);
        PutField(position, 76, record.inSells);
        if (std::find(client.positions.begin(), client.positions.end(), position.data()) == client.positions.end())
          client.positions.push_back(position.data());
        book.OnPositionRecord(position.data());
        ownTradesSeen[record.index] = std::max(ownTradesSeen[record.index], record.ownTrades);
        steps << "  record: " << kSecurities[record.index] << " " << record.lots << " (in orders " << record.inBuys
              << " B, " << record.inSells << " S)\n";
      }
    }
  }

  // Once every record has arrived (the client's positions among them), the
  // window forms what each position holds less what our orders have open.
  void CheckFormsWhatIsLeftOnceEverythingArrived() {
    if (failed || unreported || !queue.empty() || std::count(dirty.begin(), dirty.end(), true) > 0 ||
        client.positions.size() != records.size())
      return;
    COrderStore fresh;
    CClosingFormation(fresh, book, closing, modes, log).PrepareClosingOrders(client, pattern);
    std::ostringstream formed, expected;
    if (const COrderStore::Lines* lines = fresh.Find(COrderStore::KeyOf("ACC1", "FIRM1")))
      for (const auto& line : *lines) formed << line->SecCode << (line->IsBuy ? " B " : " S ") << line->Quantity << "; ";
    for (size_t position = 0; position < truth.size(); ++position) {
      const bool buy = truth[position] < 0;
      if (const int left = TruthFree(static_cast<int>(position), buy, false, closing.ConsiderActiveOrders))
        expected << kSecurities[position] << (buy ? " B " : " S ") << left << "; ";
    }
    EXPECT_EQ(formed.str(), expected.str());
    failed = formed.str() != expected.str();
  }

  TClientRiskRecord client{"FIRM1", "ACC1"};
  TClosingPattern pattern;
  TClosingSettings closing;
  TFormulaModes modes;
  TModuleSettings settings;
  CTempFolder folder;
  CVantrelLog log{folder.Path(), settings};
  std::mt19937 random;
  int32_t lastId = 0;
  bool failed = false;
  CClosingOrderBook book;
  COrderStore window;
  std::vector<int32_t> truth;
  std::vector<bool> dirty;
  std::vector<std::vector<int>> ownTrades;
  std::vector<size_t> ownTradesSeen;
  std::vector<std::vector<uint8_t>> records;
  std::vector<TExchangeOrder> orders;
  std::vector<TOwnOrder> own;
  bool unreported = false;  // a transaction taken and never reported since the last new session
  std::deque<TRecord> queue;
  std::ostringstream steps;
};

TEST_F(FilledLotsTest, NoSendGoesBeyondTheHoldingAndNoLotStaysHeldOnceEverythingArrived) {
  const char* replay = std::getenv("VANTREL_FILLS_SEED");
  const uint32_t first = replay != nullptr ? static_cast<uint32_t>(std::strtoul(replay, nullptr, 10)) : 1;
  const uint32_t count = replay != nullptr ? 1 : kSequences;
  for (uint32_t seed = first; seed < first + count; ++seed) {
    if (!Play(seed)) {
      ADD_FAILURE() << "VANTREL_FILLS_SEED=" << seed
                    << (closing.ConsiderActiveOrders ? ", the host's count of lots in orders considered" : "")
                    << ":\n" << steps.str();
      return;
    }
  }
}

}  // namespace
