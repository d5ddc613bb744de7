#include "host/standin/bench_brokerage.h"

#include "host/standin/standin_host.h"

#include <cstdio>

namespace {
constexpr int kSecurities = 40;

// A DEFAULT portfolio risk configuration and client sections up to the size.
std::string FirmText(int firm) {
  std::string text = "[PORTFOLIORISKCONFIG]\r\nBOARDTAG=TQBR\r\nCURRENCY=SUR\r\n";
  char section[256];
  for (int client = 0; text.size() < BenchBrokerage::kFirmTextBytes; ++client) {
    std::snprintf(section, sizeof section,
                  "[CL%02d%05d]\r\nLEVERAGE=%d\r\nMARGINKIND=%d\r\nCOMMISSION=0.0%d\r\n"
                  "LIMITKIND=T%d\r\n; client %d of firm %d\r\n",
                  firm, client, 1 + client % 5, client % 3, client % 9, client % 2, client, firm);
    text += section;
  }
  return text;
}
}  // namespace

std::string BenchBrokerage::FirmName(int firm) { return "FIRM" + std::to_string(firm + 1); }

void BenchBrokerage::AddMarket(StandInHost& host) {
  host.Records().AddClass({"SPBFUT", 0x48});
  for (int i = 0; i < kSecurities; ++i) {
    SecuritySpec security;
    security.classCode = "SPBFUT";
    security.code = "SEC" + std::to_string(i);
    security.id = i + 1;
    security.type = 4;
    security.valueDivisor = 1;
    security.contractUnits = 1;
    const int index = host.Records().AddSecurity(security);
    const double price = 1000.0 + 10.0 * i;
    host.Market().SetParameter(index, "steppricet", 1.0 + i % 7);
    host.Market().SetParameter(index, "last", price);
    host.Market().SetParameter(index, "bid", price - 1);
    host.Market().SetParameter(index, "offer", price + 1);
    host.Market().SetParameter(index, "prevprice", price - 5);
  }
  for (int firm = 0; firm < kFirms; ++firm) host.Records().AddFirm({FirmName(firm), FirmText(firm)});
}

// Clients spread evenly over the firms.
std::vector<PushedRecord> BenchBrokerage::AddClients(StandInHost& host, int clients) {
  std::vector<PushedRecord> records;
  int positionId = 1;
  for (int client = 0; client < clients; ++client) {
    const std::string firm = FirmName(client % kFirms);
    const std::string account = "ACC" + std::to_string(client);
    if (client % kUnitedEvery == 0) {
      const std::string code = "C" + std::to_string(client);
      host.Clients().SetClientCode(firm, account, code);
      host.Clients().SetQualification(firm, code, 1);
    }
    LimitSpec limit;
    limit.id = client + 1;
    limit.firm = firm;
    limit.account = account;
    limit.dayStart = 1000000 + client;
    limit.netPosition = 50000 + client % 1000;
    limit.planned = 900000;
    limit.interimBase = 3000;
    records.push_back(BuildLimit(limit));
    for (int p = 0; p < kPositionsPerClient; ++p) {
      PositionSpec position;
      position.id = positionId++;
      position.firm = firm;
      position.account = account;
      position.security = "SEC" + std::to_string((client + p * 7) % kSecurities);
      position.quantity = (p % 2 == 0 ? 1 : -1) * (1 + client % 10);
      position.variationMargin = 10.0 * p;
      records.push_back(BuildPosition(position));
    }
  }
  return records;
}
