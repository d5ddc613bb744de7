#include "bench/support/client_sections_text.h"

#include <limits>

namespace DL::Testing {

namespace {

class TRandom {
 public:
  explicit TRandom(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : Next() % n; }
  bool Chance(int percent) { return Below(100) < static_cast<std::size_t>(percent); }

 private:
  std::uint32_t state_;
};

// Writes a section name in the letter case the text happens to use.
std::string RandomCase(const std::string& name, TRandom& random) {
  if (!random.Chance(20)) return name;
  std::string mixed = name;
  for (char& c : mixed)
    if (c >= 'A' && c <= 'Z' && random.Chance(50)) c = static_cast<char>(c - 'A' + 'a');
  return mixed;
}

std::string ClientCode(std::size_t index, TRandom& random) {
  static const char kLetters[] = "ABCDEFGH";
  std::string code;
  code += kLetters[random.Below(8)];
  code += kLetters[random.Below(8)];
  code += std::to_string(index);
  if (random.Chance(10)) code += "x";  // a lower-case letter of its own
  return code;
}

// A non-empty beginning of the code.
std::string Stem(const std::string& client, TRandom& random) {
  return client.substr(0, 1 + random.Below(client.size()));
}

std::string ClientList(const std::vector<std::string>& clients, std::size_t count,
                       TRandom& random) {
  std::string list;
  for (std::size_t i = 0; i < count; ++i) {
    if (i != 0) list += random.Chance(20) ? ", " : ",";
    list += clients[random.Below(clients.size())];
  }
  if (random.Chance(10)) list += ",";
  return list;
}

struct TWriter {
  std::string& text;
  TRandom& random;

  void Section(const std::string& name) {
    text += "[" + RandomCase(name, random) + "]\n";
  }
  void Key(const std::string& key, const std::string& value) { text += key + "=" + value + "\n"; }
};

void WriteClientSettings(TWriter& out, const std::string& client) {
  out.Key("COMMISSIONTYPE", std::to_string(out.random.Below(8)));
  out.Key("TQBR_TRADE", "0.0" + std::to_string(out.random.Below(9)));
  if (out.random.Chance(30)) out.Key("TPNAME", "TP" + std::to_string(out.random.Below(3)));
  if (out.random.Chance(30)) out.Key("CURRENCY_USD", "7" + std::to_string(out.random.Below(9)));
  out.Key("CURRBOARDS", "TQBR,EQBR");
  out.Key("EQBR_FIXED", std::to_string(out.random.Below(50)));
  out.Key("IGNORECHECKLIMITS", "SPBFUT,SPBOPT");
  out.Key("NOTE", client);
}

void WriteMarginKeys(TWriter& out) {
  out.Key("RSTRNMBUY", std::to_string(static_cast<int>(out.random.Below(4)) - 2));
  out.Key("SBER_COEF", "1.5,2");
  out.Key("SECURITY_GAZP_ASSET", out.random.Chance(50) ? "<ALL>" : "TQBR,EQBR");
  out.Key("TQBR_DISC", "0.1,0.2");
  out.Key("SECURITY_SBER_RESTSHORT", "TQBR");
  out.Key("USEDISCOUNTSTYPE", std::to_string(out.random.Below(4)));
  if (out.random.Chance(30)) out.Key("LIMITKINDS", "1,2");
}

void WriteScale(TWriter& out) {
  out.Key("MINVALUE", std::to_string(out.random.Below(100)));
  out.Key(std::to_string(out.random.Below(1000)), "0.0" + std::to_string(out.random.Below(9)));
}

}  // namespace

TClientSectionsText MakeClientSectionsText(std::size_t clientCount, std::uint32_t seed) {
  TRandom random(seed);
  TClientSectionsText result;
  std::vector<std::string> clients;
  for (std::size_t i = 0; i < clientCount; ++i) clients.push_back(ClientCode(i, random));
  TWriter out{result.Text, random};

  out.Section("GENERAL");
  out.Key("USECOMMISSIONSCALE", "0");
  out.Key("LIMITKINDS", "1,2");
  for (std::size_t i = 0; i < clients.size(); ++i) {
    const std::string& client = clients[i];
    if (random.Chance(25)) {
      out.Section("CL" + client);
      WriteClientSettings(out, client);
    }
    if (random.Chance(20)) {
      out.Section("CL" + client + "_MARGIN");
      WriteMarginKeys(out);
      for (int kind = 0; kind < 3; ++kind) {
        if (!random.Chance(30)) continue;
        out.Section("CL" + client + "_MARGIN_LIMITKIND_" + std::to_string(kind));
        WriteMarginKeys(out);
      }
    }
    if (random.Chance(10)) {
      out.Section("CL" + client + "_COMMISSIONSCALE");
      WriteScale(out);
    }
    // Masks cover beginnings of the code, the empty one included.
    if (random.Chance(8)) {
      const std::string stem = Stem(client, random);
      out.Section("CL" + stem + "*");
      WriteClientSettings(out, stem);
    }
    if (random.Chance(5)) {
      out.Section("CL" + Stem(client, random) + "*_MARGIN");
      WriteMarginKeys(out);
    }
    if (random.Chance(4)) {
      out.Section("CL" + Stem(client, random) + "*_COMMISSIONSCALE");
      if (random.Chance(80)) WriteScale(out);  // an empty mask stops the search
    }
    if (i % 50 == 0) {
      const std::string number = std::to_string(i / 50);
      out.Section("CLT" + number + "_CLIENT_TEMPLATE");
      out.Key("CLIENTS", ClientList(clients, 1 + random.Below(40), random));
      WriteClientSettings(out, number);
      out.Section("CLM" + number + "_MARGIN_TEMPLATE");
      out.Key("CLIENTS", ClientList(clients, 1 + random.Below(40), random));
      if (random.Chance(30)) {
        const double leverage = 1.0 + static_cast<double>(random.Below(8)) * 0.5;
        out.Key("INCLUDECLIENTSWITHLEVERAGE", std::to_string(leverage));
        result.Leverages.push_back(leverage);
      }
      WriteMarginKeys(out);
      out.Section("CLS" + number + "_COMMISSIONSCALE_TEMPLATE");
      out.Key("CLIENTS", ClientList(clients, 1 + random.Below(40), random));
      WriteScale(out);
    }
  }
  // Masks of every client in some texts only, so that others leave clients
  // without a section.
  if (seed % 2 == 0) {
    out.Section("CL*");
    WriteClientSettings(out, "*");
  }
  if (seed % 3 == 0) {
    out.Section("CL*_MARGIN");
    WriteMarginKeys(out);
    out.Section("CL*_COMMISSIONSCALE");
    WriteScale(out);
  }
  out.Section("CL<GENERAL>_MARGIN");
  WriteMarginKeys(out);
  out.Section("BDTQBR_COMMISSIONSCALE");
  WriteScale(out);
  out.Section("TPTP1_BDEQBR_COMMISSIONSCALE");
  WriteScale(out);

  for (std::size_t i = 0; i < clients.size(); ++i) {
    result.Clients.push_back(clients[i]);
    if (i % 7 == 0) {
      std::string lower = clients[i];
      for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      result.Clients.push_back(lower);
    }
    if (i % 11 == 0) result.Clients.push_back("ZZ" + std::to_string(i));
  }
  result.Clients.push_back("");
  result.Leverages.insert(result.Leverages.end(),
                          {-1.0, 2.0000001, 0.0, std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()});
  result.Boards = {"TQBR", "EQBR", ""};
  return result;
}

}  // namespace DL::Testing
