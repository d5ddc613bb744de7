#include "dl/store/cache_item_id.h"

#include <cmath>

namespace DL {

namespace {

std::string TextOrEmpty(const char* text) {
  return text != nullptr ? std::string(text) : std::string();
}

}  // namespace

TIniCacheItemID::TIniCacheItemID(const char* client, const char* board, const char* tradingPoint)
    : client(TextOrEmpty(client)),
      board(TextOrEmpty(board)),
      tradingPoint(TextOrEmpty(tradingPoint)) {}

TIniCacheItemID::TIniCacheItemID(const char* client, double leverage)
    : client(TextOrEmpty(client)), leverage(leverage), kind(1) {}

std::string TIniCacheItemID::GetKey() {
  if (kind == 1)
    id = client;
  else
    id = "cc" + client + "_bn" + board + "_tn" + tradingPoint + "_sn" + fourthCode;
  return id;
}

TCacheKey TIniCacheItemID::GetCacheKey() const {
  TCacheKey key;
  key.Kind = kind;
  key.Client = client;
  key.Board = board;
  key.TradingPoint = tradingPoint;
  key.FourthCode = fourthCode;
  key.LeverageFinite = std::isfinite(leverage);
  // NaN must not reach the ordered map; -0.0 and 0.0 are one leverage.
  key.Leverage = key.LeverageFinite ? leverage + 0.0 : 0.0;
  return key;
}

const std::string& TIniCacheItemID::SetBoard(const std::string& value) {
  board = value;
  return board;
}

const std::string& TIniCacheItemID::SetTradingPoint(const std::string& value) {
  tradingPoint = value;
  return tradingPoint;
}

}  // namespace DL
