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

class CClosingFormation {
 public:
  // The module's calculation settings: the orders bring the client to the
  // level its risk table will show once they are filled. The plug-in's sent
  // orders not yet settled close lots already, whatever window sent them.
  // A security without a last price forms no line; the log says so.
  CClosingFormation(COrderStore& store, const CClosingOrderBook& sent, const TClosingSettings& closing,
                    const TFormulaModes& modes, CVantrelLog& log);

  // Replaces the client's unsent lines with the orders that bring it to the
  // pattern's target from where its sent orders (and a united client's lines
  // of its other accounts) leave it, never closing more of a position than
  // its lots not in orders yet; the number of lines formed.
  int PrepareClosingOrders(const TClientRiskRecord& client, const TClosingPattern& pattern);
  // Forms the client's orders when it misses the pattern's target; the
  // number formed.
  int PrepareWhenMissed(const TClientRiskRecord& client, const TClosingPattern& pattern);
  // The parameter's value after the client's lines still to be sent and its
  // sent orders not yet settled, in every account of a united client; 0
  // when the client has neither. The mode is
  // that of the modified unified margin level.
  double CalcLevelAfterOrders(const TClientRiskRecord& client, int parameter, int fundsMode,
                              bool united) const;
  // The most lots a line of the client may close: its position in the line's
  // security, on the side the line closes, less the lots in orders and in the
  // client's other unsent lines of that security and side. More would open
  // the opposite position once filled.
  int LotsLeftToClose(const TClientRiskRecord& client, const TOrderLine& line) const;
  // The lots a line may send now: at most its position's lots that no sent
  // order closes (lines sent before it among them) and, unless the manager
  // set its quantity, at most what the pattern still asks of that position
  // once every sent order counts. 0: nothing is to be sent.
  int LotsToSend(const TClientRiskRecord& client, const TOrderLine& line, const TClosingPattern& pattern) const;

 private:
  // Adds the client's lines to the store; a missing last price is logged
  // when told.
  int Form(const TClientRiskRecord& client, const TClosingPattern& pattern, bool tellMissingPrices);

  COrderStore& m_store;
  const CClosingOrderBook& m_sent;
  const TClosingSettings& m_closing;
  TFormulaModes m_modes;
  CVantrelLog& m_log;
};

// The margin of one lot of a client's positions is scaled by the value of
// its first limit of type 0 (in hundredths); 1.0 without one.
double GetScaleFromFirstEntry(const TClientRiskRecord& client);
