// Forming the orders that close a client's positions until the parameter a
// closing pattern tracks reaches its target level, and the level a client
// would have after the orders of a preparation window.
#pragma once

#include "module/closing/order_store.h"
#include "module/host_data/closing_order_book.h"
#include "module/risk/client_risk_record.h"
#include "module/risk/risk_param_by_index.h"
#include "module/settings/closing_pattern.h"
#include "module/settings/closing_settings.h"

#include <algorithm>
#include <string>
#include <vector>

class CVantrelLog;

// Which parameter the pattern tracks for the client, where it stands and
// where the pattern wants it.
struct TClosingGoal {
  TClosingGoal(const TClientRiskRecord& client, const TClosingPattern& pattern);
  bool Reached() const;

  bool united;
  int parameter;
  double value;
  double target;
  bool notMoreThanPlanned;
  double planned;
};

// What a prepared line may send now: its quantity less what the orders sent
// since it was formed close of its position, and at most the position's
// lots that no order closes. Nothing else cuts it: the market may move.
struct TSendAllowance {
  int asked = 0;
  int closedSince = 0;
  int free = 0;
  // The orders the host has not reported in this session that hold lots of
  // the position on the line's side.
  std::vector<TUnreportedOrder> unreported;
  int Lots() const { return std::max(0, std::min(asked - closedSince, free)); }
};

// What the manager is told of an order the host has not reported that holds
// lots of a client formed for.
struct THeldNote {
  uint32_t transaction;
  std::string text;
};

class CClosingFormation {
 public:
  // The module's calculation settings: the orders bring the client to the
  // level its risk table will show once they are filled. The plug-in's sent
  // orders not yet settled close lots already, whatever window sent them.
  // A security without a last price forms no line; the log says so.
  // Orders the host has not reported that hold lots of a client it forms
  // for are logged and, when told, noted for the manager.
  CClosingFormation(COrderStore& store, const CClosingOrderBook& sent, const TClosingSettings& closing,
                    const TFormulaModes& modes, CVantrelLog& log, std::vector<THeldNote>* heldNotes = nullptr);

  // Replaces the client's unsent lines with the orders that bring it to the
  // pattern's target from where its sent orders (and a united client's lines
  // of its other accounts) leave it, never closing more of a position than
  // its lots not in orders yet; the number of lines formed.
  int PrepareClosingOrders(const TClientRiskRecord& client, const TClosingPattern& pattern);
  // Forms the client's orders when it misses the pattern's target; the
  // number formed.
  int PrepareWhenMissed(const TClientRiskRecord& client, const TClosingPattern& pattern);
  // The parameter's value after the client's lines still to be sent and its
  // sent orders not yet settled, in every account of a united client; the
  // value the client has now when it has neither. The mode is that of the
  // modified unified margin level.
  double CalcLevelAfterOrders(const TClientRiskRecord& client, int parameter, int fundsMode,
                              bool united) const;
  // The most lots a line of the client may close: its position in the line's
  // security, on the side the line closes, less the lots in orders and in the
  // client's other unsent lines of that security and side. More would open
  // the opposite position once filled.
  int LotsLeftToClose(const TClientRiskRecord& client, const TOrderLine& line) const;
  // What the line may send now (lines sent before it among the orders).
  TSendAllowance LotsToSend(const TClientRiskRecord& client, const TOrderLine& line) const;

 private:
  // Tells of the orders without a record of this session that hold lots of
  // the client's positions.
  void TellUnreported(const TClientRiskRecord& client);

  COrderStore& m_store;
  const CClosingOrderBook& m_sent;
  const TClosingSettings& m_closing;
  TFormulaModes m_modes;
  CVantrelLog& m_log;
  std::vector<THeldNote>* m_heldNotes;
};

// The margin of one lot of a client's positions is scaled by the value of
// its first limit of type 0 (in hundredths); 1.0 without one.
double GetScaleFromFirstEntry(const TClientRiskRecord& client);
