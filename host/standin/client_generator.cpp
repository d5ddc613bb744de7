#include "host/standin/client_generator.h"

#include "host/standin/standin_host.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>

namespace {
// std::mt19937's sequence is fixed by the language; the distributions are
// not, so the few shapes needed are made here.
class Dice {
 public:
  explicit Dice(uint32_t seed) : m_engine(seed) {}
  double Real(double low, double high) { return low + (high - low) * (m_engine() / 4294967296.0); }
  int Whole(int low, int high) { return low + static_cast<int>(m_engine() % (high - low + 1u)); }
  bool OneIn(int n) { return n > 0 && m_engine() % static_cast<uint32_t>(n) == 0; }

 private:
  std::mt19937 m_engine;
};

struct Quote {
  double offer = 0.0, theorPrice = 0.0, buyDeposit = 0.0, sellDeposit = 0.0;
};

Quote QuoteOf(StandInHost& host, const std::string& code) {
  Quote quote;
  const int index = host.Records().FindSecurityByCode(code);
  if (index < 0) return quote;
  if (!host.Market().Parameter(index, "offer", &quote.offer))
    host.Market().Parameter(index, "last", &quote.offer);
  host.Market().Parameter(index, "theorprice", &quote.theorPrice);
  host.Market().Parameter(index, "buydepo", &quote.buyDeposit);
  host.Market().Parameter(index, "selldepo", &quote.sellDeposit);
  return quote;
}

// The price the plug-in values a futures position at: for a long the larger
// of offer and theoretical price; for a short the smaller, a zero one aside.
double LiquidationPrice(const Quote& quote, int32_t quantity) {
  if (quantity >= 0) return std::max(quote.offer, quote.theorPrice);
  if (quote.offer == 0.0) return quote.theorPrice;
  if (quote.theorPrice == 0.0) return quote.offer;
  return std::min(quote.offer, quote.theorPrice);
}

double Round(double value) { return std::round(value); }

std::string Numbered(const char* prefix, int number) {
  char text[32];
  std::snprintf(text, sizeof text, "%s%05d", prefix, number);
  return text;
}

struct ClientBook {
  std::vector<PositionSpec> positions;
  double margin = 0.0;       // kept as the host keeps amounts, x100
  double liquidation = 0.0;  // futures only, x100
};

class Generator {
 public:
  Generator(const GeneratedClientsSpec& wanted, StandInHost& host)
      : m_wanted(wanted), m_host(host), m_dice(wanted.seed) {
    for (const std::string& code : wanted.futures) m_quotes[code] = QuoteOf(host, code);
    for (const std::string& code : wanted.options) m_quotes[code] = QuoteOf(host, code);
  }

  void MakeClient(int index) {
    const int firmIndex = index % static_cast<int>(m_wanted.firms.size());
    const std::string& firm = m_wanted.firms[firmIndex];
    const std::string prefix(1, static_cast<char>('A' + firmIndex % 26));
    const std::string account = Numbered(prefix.c_str(), index / static_cast<int>(m_wanted.firms.size()) + 1);
    const bool united = m_wanted.unitedEvery > 0 && index % m_wanted.unitedEvery == 0;
    const bool risky = m_dice.OneIn(m_wanted.riskyEvery);

    ClientBook book = risky ? RiskyBook() : OrdinaryBook();
    for (PositionSpec& position : book.positions) {
      position.id = m_wanted.firstPositionId + m_positionCount++;
      position.firm = firm;
      position.account = account;
      m_host.Feed().startRecords.push_back(BuildPosition(position));
    }
    // The cover is chosen first; the planned net position follows from it.
    const double cover = risky ? m_dice.Real(1.1, 1.4) : m_dice.Real(1.6, 5.0);
    const double variationMargin = risky ? 0.0 : Round(book.margin * m_dice.Real(-0.02, 0.02));
    const double planned =
        Round(cover * book.margin - book.margin - variationMargin - book.liquidation);

    LimitSpec limit;
    limit.id = m_wanted.firstLimitId + index;
    limit.firm = firm;
    limit.account = account;
    limit.dayStart = Round(std::max(planned, 0.0) + book.margin);
    limit.netPosition = book.margin;
    limit.planned = planned;
    limit.realVariationMargin = variationMargin;
    limit.interimBase = variationMargin;
    limit.netPositionOpen = Round(book.margin * 0.85);
    limit.deduction120 = Round(std::fabs(variationMargin) * 0.1);
    m_host.Feed().startRecords.push_back(BuildLimit(limit));

    if (united) MakeUnited(firm, account, planned, book.margin);
  }

 private:
  PositionSpec Position(const std::string& code, int32_t quantity, ClientBook& book) {
    const Quote& quote = m_quotes[code];
    book.margin += std::abs(quantity) * (quantity > 0 ? quote.buyDeposit : quote.sellDeposit) * 100;
    PositionSpec position;
    position.security = code;
    position.quantity = quantity;
    position.variationMargin = Round(quantity * quote.offer * m_dice.Real(-0.004, 0.004) * 100);
    return position;
  }

  void AddFutures(const std::string& code, int32_t quantity, ClientBook& book) {
    book.positions.push_back(Position(code, quantity, book));
    book.liquidation += LiquidationPrice(m_quotes[code], quantity) * quantity * 100;
  }

  // Thin cover on one futures position: alternately short the first futures
  // (hurt when it rises) and long the second (hurt when it falls).
  ClientBook RiskyBook() {
    ClientBook book;
    const std::string& first = m_wanted.futures[0];
    const std::string& second = m_wanted.futures[1 % m_wanted.futures.size()];
    if (m_riskyCount++ % 2 == 0)
      AddFutures(first, -m_dice.Whole(2, 10), book);
    else
      AddFutures(second, m_dice.Whole(5, 30), book);
    return book;
  }

  ClientBook OrdinaryBook() {
    ClientBook book;
    const int count = m_dice.Whole(1, 3);
    for (int n = 0; n < count; ++n) {
      const bool option = !m_wanted.options.empty() && m_dice.OneIn(3);
      int32_t quantity = m_dice.Whole(1, 25);
      if (m_dice.OneIn(3)) quantity = -quantity;
      if (option) {
        const std::string& code = m_wanted.options[m_dice.Whole(0, static_cast<int>(m_wanted.options.size()) - 1)];
        book.positions.push_back(Position(code, quantity, book));
      } else {
        AddFutures(m_wanted.futures[m_dice.Whole(0, static_cast<int>(m_wanted.futures.size()) - 1)], quantity, book);
      }
    }
    return book;
  }

  // The host's answers for a united client: its code, spot record and values
  // (amounts in money, not x100), qualification, portfolios and parameters.
  void MakeUnited(const std::string& firm, const std::string& account, double planned,
                  double margin) {
    const std::string clientCode = "C" + account;
    ClientModel& clients = m_host.Clients();
    clients.SetClientCode(firm, account, clientCode);
    clients.SetQualification(firm, clientCode, m_dice.OneIn(3) ? 1.0 : 0.0);

    SpotSpec spot;
    spot.firm = firm;
    spot.client = clientCode;
    spot.boardTag = m_wanted.boardTag;
    spot.currency = m_wanted.currency;
    spot.value40 = Round(margin * m_dice.Real(1.0, 3.0));
    spot.value48 = Round(m_dice.Real(50000, 3000000));
    spot.value56 = Round(spot.value40 + margin * m_dice.Real(0.5, 1.5));
    spot.value64 = Round(spot.value48 * m_dice.Real(0.0, 0.3));
    m_host.Records().AddSpot(spot);

    const double collateral = Round(margin / 100 * m_dice.Real(0.0, 0.5));
    const struct {
      int number;
      double value;
    } values[] = {{16, Round(planned / 100)},
                  {7, collateral},
                  {8, Round(m_dice.Real(1.2, 6.0) * 100) / 100},
                  {6, Round(spot.value48 / 100)},
                  {5, -Round(spot.value64 / 100)},
                  {40, Round(margin / 100 * m_dice.Real(0.1, 0.6))}};
    for (const auto& value : values)
      m_host.Market().SetClientValue(firm, clientCode, value.number, ClientValue{value.value, 0});

    if (m_dice.OneIn(2)) {
      const int32_t portfolio = 7000 + m_unitedCount;
      clients.SetPortfolios(firm, clientCode, {portfolio - 5000, portfolio});
      if (m_dice.OneIn(2)) {
        clients.SetParameter(firm, clientCode, 0, 58, 4.0);  // a special portfolio
        clients.SetParameter(firm, clientCode, portfolio, 7, collateral);
      }
    }
    ++m_unitedCount;
  }

  const GeneratedClientsSpec& m_wanted;
  StandInHost& m_host;
  Dice m_dice;
  std::map<std::string, Quote> m_quotes;
  int m_positionCount = 0;
  int m_riskyCount = 0;
  int m_unitedCount = 0;
};
}  // namespace

namespace {
// Securities the host does not have are left out and reported.
std::vector<std::string> KnownSecurities(const std::vector<std::string>& codes, StandInHost& host) {
  std::vector<std::string> known;
  for (const std::string& code : codes) {
    if (host.Records().FindSecurityByCode(code) >= 0)
      known.push_back(code);
    else
      host.Feed().problems.push_back("[GeneratedClients] no security " + code);
  }
  return known;
}
}  // namespace

int GenerateClients(const GeneratedClientsSpec& asked, StandInHost& host) {
  GeneratedClientsSpec wanted = asked;
  wanted.futures = KnownSecurities(wanted.futures, host);
  wanted.options = KnownSecurities(wanted.options, host);
  if (wanted.count <= 0 || wanted.firms.empty() || wanted.futures.empty()) {
    if (wanted.count > 0) host.Feed().problems.push_back("[GeneratedClients] needs Firms and Futures");
    return 0;
  }
  Generator generator(wanted, host);
  for (int index = 0; index < wanted.count; ++index) generator.MakeClient(index);
  return wanted.count;
}
