#include "bench/support/broker_settings_generator.h"

#include <vector>

namespace DL::Testing {
namespace {

// Russian comment texts in code page 1251.
const char* const kComments[] = {
    "; \xcd\xe0\xf1\xf2\xf0\xee\xe9\xea\xe8 \xe1\xf0\xee\xea\xe5\xf0\xe0",
    ("; \xca\xeb\xe8\xe5\xed\xf2 \xf1 \xe8\xed\xe4\xe8\xe2\xe8\xe4\xf3\xe0\xeb\xfc\xed\xfb\xec "
     "\xf2\xe0\xf0\xe8\xf4\xee\xec"),
    "; \xce\xe3\xf0\xe0\xed\xe8\xf7\xe5\xed\xe8\xff \xef\xee \xec\xe0\xf0\xe6\xe5",
    "; \xca\xee\xec\xe8\xf1\xf1\xe8\xff \xe1\xe8\xf0\xe6\xe8",
};

const char* const kBoards[] = {"TQBR", "TQTF", "TQOB", "TQCB", "EQBR", "EQOB", "SMAL", "TQDE",
                               "PSEQ", "EQRP", "AUCT", "CETS", "SPBFUT", "SPBOPT", "TQIF", "TQTD"};
const char* const kSecurities[] = {"SBER", "GAZP", "LKOH", "GMKN", "ROSN", "VTBR", "MGNT", "NVTK",
                                   "YNDX", "TATN", "MTSS", "ALRS", "CHMF", "PLZL", "POLY", "AFLT",
                                   "SNGS", "SNGSP", "MOEX", "IRAO", "HYDR", "RUAL", "PHOR", "NLMK"};

class TextBuilder {
 public:
  explicit TextBuilder(std::uint32_t seed) : state_(seed * 747796405ull + 2891336453ull) {}

  std::uint32_t Random(std::uint32_t bound) {
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::uint32_t>(state_ >> 33) % bound;
  }
  std::string Number(std::uint32_t whole, int decimals) {
    std::string text = std::to_string(Random(whole));
    if (decimals > 0) {
      text += '.';
      for (int i = 0; i < decimals; ++i) text += static_cast<char>('0' + Random(10));
    }
    return text;
  }

  // Comma-separated numbers, drawn in order (the operands of one "+"
  // expression may be evaluated in any order).
  std::string NumberList(int count, std::uint32_t whole, int decimals) {
    std::string list;
    for (int i = 0; i < count; ++i) list += (i > 0 ? "," : "") + Number(whole, decimals);
    return list;
  }

  std::string text;
  void Line(const std::string& line) { text += line + "\r\n"; }
  void Header(const std::string& name) { Line("[" + name + "]"); }
  void Key(const std::string& key, const std::string& value) { Line(key + "=" + value); }
  void Comment() { Line(kComments[Random(sizeof kComments / sizeof kComments[0])]); }

 private:
  std::uint64_t state_;
};

std::string ClientCode(std::uint32_t index) {
  std::string digits = std::to_string(100000 + index);
  // Most codes are upper case; some firms write them in lower case.
  return (index % 17 == 0 ? "mc" : "MC") + digits;
}

void WriteGeneral(TextBuilder& b) {
  b.Comment();
  b.Header("GENERAL");
  b.Key("COMMISSION", "0.05");
  b.Key("TRADECOMMISSION", "0.01");
  b.Key("1SECCOMMISSION", "0.03");
  b.Key("LIMITKINDS", "0,1,2,365");
  b.Key("USECORRELATION", "1");
  b.Key("SHORTMONEYTOBUYLONG", "1");
  b.Key("LONGMONEYTOSELLSHORT", "0");
  b.Key("NEGATIVEMONEYTOSHORT", "0");
  b.Key("MINDISCRATELONG", "0.1");
  b.Key("MINDISCRATESHORT", "0.15");
  b.Key("USEDISCOUNTSTYPE", "2");
  b.Key("CURRENCYLIMIT", "SUR");
  b.Key("COMMISSIONSCALEBOARDS", "TQBR,TQTF,TQOB");
  for (int i = 0; i < 30; ++i) b.Key("PARAM" + std::to_string(i), b.Number(1000, 2) + "   ; " + "note");
  b.Line("");
}

void WriteCommissions(TextBuilder& b) {
  b.Comment();
  b.Header("COMMISSION");
  for (const char* board : kBoards) b.Key(std::string(board) + "_TRADE", b.Number(1, 4));
  b.Header("COMMISSIONSCALE");
  for (int i = 0; i < 8; ++i) {
    std::string volume = b.Number(10000000, 0);
    b.Key("SCALE" + std::to_string(i), volume + "," + b.Number(1, 4));
  }
  b.Header("BOARDCOMMISSION");
  for (const char* board : kBoards) b.Key(board, std::string("BOARDCOMMISSION_") + board);
  for (const char* board : kBoards) {
    b.Header(std::string("BOARDCOMMISSION_") + board);
    b.Key("TRADECOMMISSION", b.Number(1, 4));
    b.Key("CLEARINGCOMMISSION", b.Number(1, 4));
    b.Key("MINVALUE", b.Number(100, 2));
    b.Key("MAXVALUE", b.Number(100000, 2));
  }
  b.Line("");
}

void WriteSecurityLists(TextBuilder& b) {
  for (const char* section : {"ASSETSECURITIES", "RESTSHORTSECURITIES", "LIMITALLOWEDSECURITY"}) {
    b.Header(section);
    for (int list = 0; list < 6; ++list) {
      std::string items;
      for (const char* security : kSecurities) {
        if (b.Random(3) != 0) items += (items.empty() ? "" : ",") + std::string(security);
      }
      b.Key((list % 2 ? "SECURITY_L" : "L") + std::to_string(list), list == 5 ? "<ALL>" : items);
    }
  }
  b.Header("SECURITYDISCOUNTS");
  for (const char* security : kSecurities) {
    b.Key(security, b.NumberList(3, 1, 2));
  }
  b.Header("ADDCORRELATION");
  for (int i = 0; i < 12; ++i) {
    std::string first = b.Number(2, 2);
    std::string second = b.Number(2, 2);
    b.Key("CORR" + std::to_string(i), std::string(kSecurities[i]) + "," + first + "," +
                                          kSecurities[i + 1] + "," + second + ",1");
  }
  b.Line("");
}

void WritePortfolioConfig(TextBuilder& b, const std::string& name, const char* boardTag) {
  b.Comment();
  b.Header(name.empty() ? "PORTFOLIORISKCONFIG" : "PORTFOLIORISKCONFIG_" + name);
  b.Key("BOARDTAG", boardTag);
  b.Key("CURRENCY", "SUR");
  b.Key("LIMITKIND", "0");
  b.Key("PRICESCANRANGETYPE", "0");
  b.Key("PRICESCANRANGE", b.Number(30, 1));
  b.Key("VOLATILITY", b.Number(100, 1));
  b.Key("KGO", "1.0");
  b.Key("SPREADTIERS", "T1,90,T2,180,T3,1000");
  b.Key("SPREAD_T1_T2", b.Number(100, 0));
  b.Key("SPREAD_SPT_FUT", b.NumberList(2, 100, 0));
  b.Key("VOLATILITYSLOPE_LONG_CALL", "0.5,1.1,1,1.0,2,0.9");
  for (const char* item : {"Si", "RI", "BR", "GZ", "SR"}) {
    std::string prefix = std::string(item) + "_";
    b.Key(prefix + "KGO", b.Number(3, 1));
    b.Key(prefix + "PRICESCANRANGE", b.Number(30, 1));
    b.Key(prefix + "SPREAD_T1_T2", b.Number(100, 0));
    b.Key(prefix + "SPREAD_(" + item + "_X)_T1_T3", b.Number(100, 0) + ",1,2");
    b.Key(prefix + "VOLATILITYSLOPE_SHORT_PUT", "1,1.5,2,1.2");
    if (!name.empty()) b.Key(prefix + "ADDBASEASSETS", std::string(item) + "A," + item + "B");
  }
  b.Line("");
}

void WritePortfolioConfigs(TextBuilder& b) {
  WritePortfolioConfig(b, "", "TQBR");
  for (const char* name : {"Futures", "Options", "Bonds", "Currency", "LongNameConfiguration"}) {
    WritePortfolioConfig(b, name, "SPBFUT");
  }
  b.Header("PORTFOLIOSPREADORDER");
  b.Key("Futures,Options", "1");
  b.Key("Bonds,Currency", "2");
  b.Line("");
}

std::string ClientBlock(std::uint32_t index) {
  TextBuilder block(index + 1);
  std::string code = ClientCode(index);
  if (index % 7 == 0) block.Comment();
  block.Header("CL" + code);
  block.Key("COMMISSION", block.Number(1, 4));
  block.Key("TRADECOMMISSION", block.Number(1, 4));
  block.Key("LEVERAGE", block.Number(10, 0));
  block.Key("TQBR_TRADE", block.Number(1, 4) + "  ");
  block.Key("PROHIBITED_BOARDS", "SMAL,AUCT");
  block.Key("COMMISSIONSCALE", "SCALE" + std::to_string(index % 8));
  if (index % 3 == 0) block.Key("SUBBROKER", "SB" + std::to_string(index % 40));
  if (index % 10 == 0) {
    block.Header("CL" + code + "_MARGIN");
    block.Key("SHORTMONEYTOBUYLONG", "-2");
    block.Key("USECORRELATION", "1");
    block.Key("LIMITKINDS", "0,1,2");
    block.Key("SBER_ASSET", "SBER,SBERP");
    for (int kind = 1; kind <= 2; ++kind) {
      block.Header("CL" + code + "_MARGIN_LIMITKIND_" + std::to_string(kind));
      block.Key("RSTRNMBUY", "1");
      block.Key("GAZP_RESTSHORT", "GAZP");
    }
  }
  if (index % 50 == 0) {
    block.Header("CLT" + std::to_string(index) + "_CLIENT_TEMPLATE");
    std::string clients;
    for (std::uint32_t i = 1; i <= 300; ++i) {
      clients += (i > 1 ? ", " : "") + ClientCode(index + 1000000 + i);
    }
    block.Key("CLIENTS", clients);
    block.Key("COMMISSION", block.Number(1, 4));
    block.Header("CLT" + std::to_string(index) + "_MARGIN_TEMPLATE");
    block.Key("INCLUDECLIENTSWITHLEVERAGE", std::to_string(index % 9 + 1));
    block.Key("CLIENTS", ClientCode(index + 2000000) + "," + ClientCode(index + 2000001));
  }
  if (index % 100 == 0) {
    block.Header("CLMC" + std::to_string(index / 100) + "*");
    block.Key("COMMISSION", block.Number(1, 4));
  }
  return block.text;
}

}  // namespace

std::string GenerateBrokerSettings(std::size_t targetSize, std::uint32_t seed) {
  TextBuilder b(seed);
  WriteGeneral(b);
  WriteCommissions(b);
  WriteSecurityLists(b);
  WritePortfolioConfigs(b);
  if (b.text.size() > targetSize) {
    // Too small a target for the head: cut at the last whole line.
    std::size_t end = targetSize >= 2 ? b.text.rfind("\r\n", targetSize - 2) : std::string::npos;
    b.text.resize(end == std::string::npos ? 0 : end + 2);
    return b.text;
  }
  for (std::uint32_t index = 0;; ++index) {
    std::string block = ClientBlock(index + (seed - 1) * 1000000);
    if (b.text.size() + block.size() > targetSize) break;
    b.text += block;
  }
  return b.text;
}

}  // namespace DL::Testing
