#include "module/closing/closing_formation.h"

#include "module/client_market_values.h"
#include "module/host_data/client_book.h"
#include "module/log/vantrel_log.h"
#include "module/market_records.h"
#include "module/risk/closing_targets.h"
#include "module/risk/risk_param_by_index.h"
#include "module/security_params.h"
#include "sdk/host_data_records.h"
#include "sdk/host_record_fields.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <set>

namespace {
using host::record::Read;

// Closing orders go to the derivatives classes the host trades in, never to
// a class of its own system trades.
constexpr uint32_t kClosingClassMask = 0x48, kClosingExcludedMask = 0x900;
constexpr int kLimitType = 30, kLimitScale = 128;
constexpr double kMoneyScale = 100.0;

// Every position the host reports on this market is a futures or an option
// position, that is a derivative: keeping derivatives out would leave
// nothing to close, so the kind of a security never keeps it out.
const uint8_t* ClosingSecurity(const std::string& code) {
  return FindSecurityInClasses(code.c_str(), kClosingClassMask, kClosingExcludedMask, nullptr);
}

int32_t Quantity(const uint8_t* position) { return Read<int32_t>(position, host_data::position::kQuantity); }

std::string BaseAssetOf(const uint8_t* security) {
  const char* text = reinterpret_cast<const char*>(security + host::record::kSecurityBaseAsset);
  return std::string(text, strnlen(text, host::record::kSecurityBaseAssetCapacity));
}

bool IsTrackedRatio(int parameter) { return parameter >= kSfrId && parameter <= kEclgoId; }

// The margin of the whole position, by which the largest closes first.
double PositionMargin(const uint8_t* position, const uint8_t* security) {
  const int32_t quantity = Quantity(position);
  return GetDepoRequirement(security, quantity > 0) * std::abs(static_cast<double>(quantity));
}

// The last price moved by the spread against the client and rounded to the
// price step: a sell down, a buy up, whatever the price's sign (some futures
// trade below zero).
double ClosingPrice(double last, const uint8_t* security, bool buy, double spreadPercent) {
  last += (buy ? 1 : -1) * std::fabs(last) * spreadPercent / 100.0;
  const int decimals = std::max<int>(0, Read<int16_t>(security, host::record::kSecurityPriceDecimals));
  const double scale = std::pow(10.0, decimals);
  const auto step = static_cast<int64_t>(std::llround(
      Read<double>(security, host::record::kSecurityPriceStep) * scale));
  const auto units = static_cast<int64_t>(std::floor(last * scale + 0.5));
  if (step <= 0) return static_cast<double>(units) / scale;
  // How far the price stands above the step below it, below zero too.
  const int64_t rest = (units % step + step) % step;
  if (rest == 0) return static_cast<double>(units) / scale;
  return static_cast<double>(buy ? units - rest + step : units - rest) / scale;
}

// The working values of one client's formation.
struct TWorkingValues {
  double planned, current, currentOpen, spot, value6, value5, variationMargin;
};

TWorkingValues StartingValues(const TClientRiskRecord& client) {
  TWorkingValues values = {};
  values.planned = client.plannedNetPosition;
  values.current = std::max(client.currentNetPosition, 0.0);
  values.currentOpen = std::max(client.currentNetPositionOpen, 0.0);
  GetSpotPortfolioValues(client.MarketKey(), &values.spot, &values.value6, &values.value5, nullptr);
  values.variationMargin = client.variationMargin;
  return values;
}

// Closing frees margin as the risk table will count it: a united client's
// spot value grows, the others' planned and current net positions free it.
void Commit(TWorkingValues& v, double closed, bool united) {
  if (united) {
    v.spot += closed;
  } else {
    v.planned += closed, v.current -= closed, v.currentOpen -= closed;
  }
}

// The margin that lots of an order free; none for a security the host no
// longer knows. A sell closes a long position, whose margin is the buyer's.
double ClosedMargin(const char* security, bool buy, double lots, double scale) {
  const uint8_t* found = ClosingSecurity(security);
  return found == nullptr ? 0.0 : GetDepoRequirement(found, !buy) * kMoneyScale * scale * lots;
}

// The lines of a window still to be sent for the client: of its own account,
// of its other accounts as well, or of both.
enum class Accounts { kOwn, kOthers, kAll };
std::vector<const TOrderLine*> LinesToSend(const COrderStore& store, const TClientRiskRecord& client,
                                           Accounts accounts) {
  const TClosingClient owner = ClosingClientOf(client);
  std::vector<const TOrderLine*> found;
  // Only a united client has lines under other keys than its own: the walk
  // over every client's lines is not made for the others.
  const COrderStore::Key own = COrderStore::KeyOf(client.account, client.firm);
  for (const auto& entry : store.All()) {
    if (!owner.united && entry.first != own) continue;
    for (const auto& line : entry.second) {
      const TClosingClient other = ClosingClientOf(*line);
      const bool own = owner.SameAccount(other);
      if (!line->Sendable() || !owner.Includes(other) || (accounts == Accounts::kOwn && !own) ||
          (accounts == Accounts::kOthers && own))
        continue;
      found.push_back(line.get());
    }
  }
  return found;
}

// The client's values once its sent orders not yet settled and the given
// lines are filled.
TWorkingValues ValuesAfterOrders(const TClientRiskRecord& client, const std::vector<TPendingClosingOrder>& sent,
                                 const std::vector<const TOrderLine*>& lines, bool united) {
  TWorkingValues values = StartingValues(client);
  const double scale = GetScaleFromFirstEntry(client);
  for (const TPendingClosingOrder& order : sent)
    Commit(values, ClosedMargin(order.security.c_str(), order.buy, order.lots, scale), united);
  for (const TOrderLine* line : lines)
    Commit(values, ClosedMargin(line->SecCode, line->IsBuy != 0, line->Quantity, scale), united);
  return values;
}

// The client's position records in the security on the side a buy or a sell
// closes.
std::vector<const uint8_t*> ClosedSides(const TClientRiskRecord& client, const char* security, bool buy) {
  std::vector<const uint8_t*> found;
  for (const uint8_t* position : client.positions) {
    const int32_t quantity = Quantity(position);
    if (RecordSecurityCode(position) == security && quantity != 0 && (quantity < 0) == buy) found.push_back(position);
  }
  return found;
}

// The lots of the client's account in the security, on the side a buy or a
// sell closes, that no order closes yet.
int LotsNotInOrders(const TClientRiskRecord& client, const char* security, bool buy, const CClosingOrderBook& sent,
                    bool considerHostCount) {
  int left = 0;
  for (const uint8_t* position : ClosedSides(client, security, buy)) left += sent.FreeLots(position, buy, considerHostCount);
  return left;
}

// The funds sufficiency sums the variation margin by the module's mode, as
// the risk table does; the mode given is the modified unified margin level's.
double Evaluate(const TClientRiskRecord& client, const TWorkingValues& v, double closed, int parameter,
                bool united, int fundsMode, const TFormulaModes& modes) {
  TRiskParamInputs inputs;
  inputs.plannedNetPosition = v.planned + closed;
  inputs.currentNetPosition = v.current - closed;
  inputs.currentNetPositionOpen = v.currentOpen - closed;
  inputs.fundsA = v.spot + closed;
  inputs.fundsB = v.value6;
  inputs.fundsC = v.value5;
  inputs.fundsD = v.variationMargin;
  inputs.fundsMode = fundsMode;
  return GetRiskParamByIndex(client, parameter, inputs, united, modes);
}

// The client's positions to close, in the order they close.
std::vector<const uint8_t*> Candidates(const TClientRiskRecord& client, const TClosingSettings& closing) {
  std::vector<const uint8_t*> candidates;
  std::set<std::string> seen;
  if (!closing.UseBaseActive) {
    for (const std::string& code : closing.SecsForClosing) {
      const uint8_t* security = ClosingSecurity(code);
      if (security == nullptr || !seen.insert(SecurityCodeOf(security)).second) continue;
      for (const uint8_t* position : client.positions)
        if (RecordSecurityCode(position) == SecurityCodeOf(security) && Quantity(position) != 0)
          candidates.push_back(position);
    }
    return candidates;
  }
  for (const std::string& base : closing.BaseActiveForClosing) {
    if (!seen.insert(base).second) continue;
    const size_t first = candidates.size();
    for (const uint8_t* position : client.positions) {
      const uint8_t* security = ClosingSecurity(RecordSecurityCode(position));
      if (security != nullptr && BaseAssetOf(security) == base) candidates.push_back(position);
    }
    // Within one base asset the largest margin closes first, equal ones by
    // security code, equal codes in record order.
    std::stable_sort(candidates.begin() + static_cast<std::ptrdiff_t>(first), candidates.end(),
                     [](const uint8_t* a, const uint8_t* b) {
                       const double ma = PositionMargin(a, ClosingSecurity(RecordSecurityCode(a)));
                       const double mb = PositionMargin(b, ClosingSecurity(RecordSecurityCode(b)));
                       if (ma != mb) return ma > mb;
                       return RecordSecurityCode(a) < RecordSecurityCode(b);
                     });
  }
  return candidates;
}
}  // namespace

TClosingGoal::TClosingGoal(const TClientRiskRecord& client, const TClosingPattern& pattern)
    : united(IsUnitedParamApplicable(client, pattern)),
      parameter(client.united && pattern.ParamIdx2 != kModifiedMarginLevelId ? pattern.ParamIdx2
                                                                             : pattern.ParamIdx),
      value(united ? client.modifiedMarginLevel : client.GetValueByColumn(parameter)),
      target(GetPatternTargetLevel(pattern, client)),
      notMoreThanPlanned(pattern.NotMoreThanPlanned),
      planned(client.plannedNetPosition) {}

bool TClosingGoal::Reached() const {
  return IsLevelReachedForParam(value, target, united, parameter, notMoreThanPlanned, planned);
}

double GetScaleFromFirstEntry(const TClientRiskRecord& client) {
  for (const uint8_t* limit : client.limits) {
    if (Read<int16_t>(limit, kLimitType) != 0) continue;
    const int32_t value = Read<int32_t>(limit, kLimitScale);
    return value == 0 ? 1.0 : value / kMoneyScale;
  }
  return 1.0;
}

CClosingFormation::CClosingFormation(COrderStore& store, const CClosingOrderBook& sent,
                                     const TClosingSettings& closing, const TFormulaModes& modes, CVantrelLog& log,
                                     std::vector<THeldNote>* heldNotes)
    : m_store(store), m_sent(sent), m_closing(closing), m_modes(modes), m_log(log), m_heldNotes(heldNotes) {}

int CClosingFormation::PrepareWhenMissed(const TClientRiskRecord& client, const TClosingPattern& pattern) {
  return TClosingGoal(client, pattern).Reached() ? 0 : PrepareClosingOrders(client, pattern);
}

int CClosingFormation::PrepareClosingOrders(const TClientRiskRecord& client, const TClosingPattern& pattern) {
  m_store.RemoveUnsent(COrderStore::KeyOf(client.account, client.firm));
  TellUnreported(client);
  TClosingGoal goal(client, pattern);
  // Lots the plug-in's orders are closing already count as closed, and so
  // do the lines a united client's other accounts have in this window: only
  // what they leave missing is formed.
  const std::vector<TPendingClosingOrder> sent = m_sent.PendingOf(ClosingClientOf(client));
  const std::vector<const TOrderLine*> others = LinesToSend(m_store, client, Accounts::kOthers);
  TWorkingValues v = ValuesAfterOrders(client, sent, others, goal.united);
  const double scale = GetScaleFromFirstEntry(client);
  auto evaluate = [&](double closed) {
    return Evaluate(client, v, closed, goal.parameter, goal.united, pattern.UseVarMargin, m_modes);
  };
  auto reaches = [&](double value, double closed) {
    return IsLevelReachedForParam(value, goal.target, goal.united, goal.parameter, goal.notMoreThanPlanned,
                                  v.planned + closed);
  };
  if (!sent.empty() || !others.empty()) goal.value = evaluate(0.0);
  int open = static_cast<int>(std::count_if(client.positions.begin(), client.positions.end(),
                                             [](const uint8_t* position) { return Quantity(position) != 0; }));
  int formed = 0;
  for (const uint8_t* position : Candidates(client, m_closing)) {
    if (reaches(goal.value, 0.0)) break;
    const uint8_t* security = ClosingSecurity(RecordSecurityCode(position));
    const int32_t quantity = Quantity(position);
    if (security == nullptr || quantity == 0) continue;
    const double lotMargin = GetDepoRequirement(security, quantity > 0) * kMoneyScale * scale;
    // Without a margin per lot closing cannot be measured against the level.
    if (lotMargin <= 0.0) continue;
    // An order priced 0 would sell for nothing or buy at any price. A client
    // left open must be known whatever the log's level.
    const double lastPrice = GetLastPrice(security);
    if (lastPrice == 0.0) {
      m_log.TraceLog(0, "ERROR: no last price of %s, no closing order formed for client %s (%s, %s).",
                     SecurityCodeOf(security), client.clientCode, client.account, client.firm);
      continue;
    }
    const int whole = std::abs(quantity);
    const bool buy = quantity < 0;
    int lots = whole;
    const double rest = v.current - lots * lotMargin;
    if (rest < 1.0 && !goal.united && IsTrackedRatio(goal.parameter))
      lots -= static_cast<int>(std::ceil((1.0 - rest) / lotMargin));
    const bool reached = reaches(evaluate(lots * lotMargin), lots * lotMargin);
    if (!reached) {
      const bool lastPosition = open == 1;
      if (!goal.united && lastPosition &&
          (pattern.ParamIdx == kSfrId || pattern.ParamIdx == kSfrOpenPositionsId ||
           goal.parameter == kClgoId || goal.parameter == kEclgoId))
        lots = whole;
    } else if (lots > 0) {
      // The fewest lots that still reach the level.
      int low = 0, high = lots, last = lots;
      while (low < high) {
        const int middle = (low + high) / 2;
        if (middle == last) break;
        last = middle;
        if (reaches(evaluate(middle * lotMargin), middle * lotMargin)) high = middle;
        else low = middle;
      }
      lots = high;
    }
    lots = std::min(lots, m_sent.FreeLots(position, buy, m_closing.ConsiderActiveOrders));
    --open;
    if (lots <= 0) continue;
    TOrderLine& line = m_store.Add(MakeOrderLine(
        client, security, buy, ClosingPrice(lastPrice, security, buy, m_closing.Spread), lots, whole * lotMargin));
    line.SendsSeen = m_sent.Sends();
    ++formed;
    Commit(v, lots * lotMargin, goal.united);
    goal.value = evaluate(0.0);
  }
  return formed;
}

double CClosingFormation::CalcLevelAfterOrders(const TClientRiskRecord& client, int parameter,
                                               int fundsMode, bool united) const {
  // The sent lines are among the orders counted while they are not settled.
  const std::vector<const TOrderLine*> lines = LinesToSend(m_store, client, Accounts::kAll);
  const std::vector<TPendingClosingOrder> sent = m_sent.PendingOf(ClosingClientOf(client));
  // With neither, the client's own value: a covered client stands where he is.
  return Evaluate(client, ValuesAfterOrders(client, sent, lines, united), 0.0, parameter, united, fundsMode, m_modes);
}

int CClosingFormation::LotsLeftToClose(const TClientRiskRecord& client, const TOrderLine& line) const {
  const bool buy = line.IsBuy != 0;
  int left = LotsNotInOrders(client, line.SecCode, buy, m_sent, m_closing.ConsiderActiveOrders);
  for (const TOrderLine* other : LinesToSend(m_store, client, Accounts::kOwn))
    if (other != &line && (other->IsBuy != 0) == buy && std::strcmp(other->SecCode, line.SecCode) == 0)
      left -= static_cast<int>(std::lround(other->Quantity));
  return std::max(left, 0);
}

TSendAllowance CClosingFormation::LotsToSend(const TClientRiskRecord& client, const TOrderLine& line) const {
  const bool buy = line.IsBuy != 0;
  TSendAllowance allowance;
  allowance.asked = static_cast<int>(std::lround(line.Quantity));
  allowance.free = LotsNotInOrders(client, line.SecCode, buy, m_sent, m_closing.ConsiderActiveOrders);
  for (const uint8_t* position : ClosedSides(client, line.SecCode, buy)) {
    allowance.closedSince += m_sent.LotsSentSince(line.SendsSeen, position, buy);
    const std::vector<TUnreportedOrder> unreported = m_sent.Unreported(position, buy);
    allowance.unreported.insert(allowance.unreported.end(), unreported.begin(), unreported.end());
  }
  return allowance;
}

void CClosingFormation::TellUnreported(const TClientRiskRecord& client) {
  for (const uint8_t* position : client.positions) {
    const int32_t quantity = Quantity(position);
    if (quantity == 0) continue;
    const bool buy = quantity < 0;
    for (const TUnreportedOrder& order : m_sent.Unreported(position, buy)) {
      const std::string security = RecordSecurityCode(position);
      if (order.earlier)
        m_log.TraceLog(0, "Closing orders of client %s (%s, %s): %.0f lots of %s are held by transaction %u of an "
                       "earlier host session, not reported in this one; they are freed once the host reports the "
                       "order or the position.", client.clientCode, client.account, client.firm, order.lots,
                       security.c_str(), order.id);
      else
        m_log.TraceLog(0, "Closing orders of client %s (%s, %s): %.0f lots of %s are held by transaction %u, which "
                       "the host has not reported; they are freed once it reports the order, or by its new session.",
                       client.clientCode, client.account, client.firm, order.lots, security.c_str(), order.id);
      if (m_heldNotes == nullptr) continue;
      char text[512];
      std::snprintf(text, sizeof text,
                    order.earlier ? "Клиент %s (%s, %s), %s: %.0f лот. удерживает заявка (транзакция %u) прежней сессии "
                                    "терминала, о которой он ещё не сообщил в этой; они освободятся, когда терминал "
                                    "сообщит о заявке или о позиции."
                                  : "Клиент %s (%s, %s), %s: %.0f лот. удерживает заявка (транзакция %u), о которой "
                                    "терминал ещё не сообщил; они освободятся, когда терминал сообщит о заявке, или в "
                                    "новой сессии терминала.",
                    client.clientCode, client.account, client.firm, security.c_str(), order.lots, order.id);
      m_heldNotes->push_back({order.id, text});
    }
  }
}
