#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <tuple>

namespace DL {

// The identity of a cached item: the caches look records up by it; GetKey
// builds the printable form.
template <class TId>
class AItemID {
 public:
  virtual ~AItemID() = default;
  virtual TId GetKey() = 0;

 protected:
  TId id;
};

// What a setting cache compares: every part of the key separately, so that no
// two different keys can meet (the joined key string can: client "X_bn" with
// no board and client "X" with board "_bn" print alike). A kind-1 key carries
// its leverage; every leverage that is not finite counts as one value.
struct TCacheKey {
  int Kind = 0;
  std::string Client;
  std::string Board;
  std::string TradingPoint;
  std::string FourthCode;
  bool LeverageFinite = true;
  double Leverage = -1.0;

  auto Tie() const {
    return std::tie(Kind, Client, Board, TradingPoint, FourthCode, LeverageFinite, Leverage);
  }
  bool operator<(const TCacheKey& other) const { return Tie() < other.Tie(); }
  bool operator==(const TCacheKey& other) const { return Tie() == other.Tie(); }
};

struct TCacheKeyHash {
  std::size_t operator()(const TCacheKey& key) const {
    std::size_t hash = std::hash<std::string>()(key.Client);
    for (const std::string* part : {&key.Board, &key.TradingPoint, &key.FourthCode})
      hash = hash * 31 + std::hash<std::string>()(*part);
    return hash * 31 + std::hash<double>()(key.Leverage) + static_cast<std::size_t>(key.Kind);
  }
};

// Key of the setting caches: kind 0 is (client, board, trading point), kind 1
// is (client, leverage).
class TIniCacheItemID : public AItemID<std::string> {
 public:
  TIniCacheItemID(const char* client, const char* board, const char* tradingPoint);
  TIniCacheItemID(const char* client, double leverage);

  std::string GetKey() override;
  TCacheKey GetCacheKey() const;

  const std::string& GetClient() const { return client; }
  const std::string& GetBoard() const { return board; }
  const std::string& GetTradingPoint() const { return tradingPoint; }
  double GetLeverage() const { return leverage; }
  int GetKind() const { return kind; }

  const std::string& SetBoard(const std::string& value);
  const std::string& SetTradingPoint(const std::string& value);

 private:
  std::string client;
  std::string board;
  std::string tradingPoint;
  std::string fourthCode;
  double leverage = -1.0;
  int kind = 0;
};

}  // namespace DL
