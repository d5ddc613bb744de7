// A randomized market of a few hundred clients over many timer runs through
// the real DLL: every call that arrived (message files, mail at the SMTP
// sink, rows in SQLite) against a small model of the rules kept here: no
// call lost, none sent twice, none to the wrong client.
#include "module/notify/margin_call_road.h"

#include <cmath>
#include <cstring>
#include <map>
#include <numeric>
#include <random>

namespace {

constexpr int kClients = 200, kRuns = 10;
constexpr double kWarning = 1.0, kCritical = 0.5, kMinChange = 0.05;

std::string Fixed(double value, int decimals, char point) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  *std::strchr(text, '.') = point;
  return text;
}

// The rules of one kind: critical before warning; a value back above the
// warning level re-arms; a further call only when worse by more than the
// minimum change, and not in a run that already sent the other kind, whose
// time it shares. Returns the call's body ("" for none).
std::string Check(const std::string& name, double value, double* last, bool* sentThisRun) {
  if (!(value < kWarning)) *last = 1e30;
  if (!(value < kWarning) || *sentThisRun || !(value < *last) ||
      !(std::fabs(value - *last) > kMinChange))
    return "";
  *last = value;
  *sentThisRun = true;
  return name + (value < kCritical ? "! " : " ") + Fixed(value, 6, ',');
}

class MarginCallMarketTest : public MarginCallRoad {
 protected:
  // Recipient and body line of each mail the sink took, once count arrived.
  static std::vector<std::string> Mails(size_t count) {
    const std::string folder = Env("VANTREL_SMTP_FOLDER") + "\\";
    std::vector<std::string> mails;
    for (int waited = 0; waited < 60000 && mails.size() < count; waited += 200, Sleep(200)) {
      mails.clear();
      char name[16];
      for (int n = 1; std::snprintf(name, sizeof name, "%04d", n), FileExists(folder + name + ".txt"); ++n) {
        const std::string envelope = ReadFileBytes(folder + name + ".envelope");
        std::string text = ReadFileBytes(folder + name + ".txt");
        text.erase(text.find_last_not_of("\r\n") + 1);
        const size_t to = envelope.find("RCPT TO:<") + 9;
        mails.push_back(envelope.substr(to, envelope.find('>', to) - to) + "|" +
                        text.substr(text.find_last_of('\n') + 1));
      }
    }
    std::sort(mails.begin(), mails.end());
    return mails;
  }
};

TEST_F(MarginCallMarketTest, EveryCallArrivesOnceAtItsClient) {
  ASSERT_EQ(SqliteQuery("drop table if exists RoadCalls; create table RoadCalls (MCType, TDate, "
                        "MCTime, MCLevel, Margin, CCode, MsgText, MsgText2, MsgText3, MsgText4, "
                        "SubjText, FirmID, MsgText5, Emails)"), "");
  ASSERT_TRUE(Mails(0).empty()) << "no other test mails here";
  std::mt19937 random(20261207);
  const std::vector<std::string> securities = {"S0", "S1", "S2", "S3", "S4", "S5", "S6", "S7"};
  std::vector<RoadClient> clients;
  for (int i = 0; i < kClients; ++i) {
    const std::string account = "R" + std::to_string(100 + i);
    // An odd half that is no multiple of 50: no funds sufficiency lands on
    // a level exactly, so the model and the module never round apart.
    int half = 2501 + 2 * static_cast<int>(random() % 3700);
    half += half % 50 == 0 ? 2 : 0;
    clients.push_back({account, securities[i % securities.size()], 1 + static_cast<int>(random() % 5),
                       2.0 * half, 1000 + i, i % 10 == 0 ? account + "@client.ru" : ""});
  }
  Start("SendSFRWarningMsg_fp=1\nSendSFRCriticalMsg_fp=1\nMinParamChange=0.05\nNotifyByEmail=1\n"
        "SMTPServer=127.0.0.1\nSenderAddress=risk@broker.ru\nNeedSaveToDB=1\nDSN=VanTrelLite\n"
        "DBTable=RoadCalls\nPort=" + Env("VANTREL_SMTP_PORT") + "\n",
        clients, securities);
  std::vector<double> lastSfr(kClients, 1e30), lastOpen(kClients, 1e30);
  std::vector<std::string> rows, mails;
  for (int run = 0; run < kRuns; ++run) {
    std::map<std::string, double> bids;
    for (const std::string& security : securities) SetBid(security, bids[security] = 20 + random() % 150);
    std::vector<std::string> files;
    for (int i = 0; i < kClients; ++i) {
      const RoadClient& c = clients[i];
      const double assets = bids[c.security] * c.quantity * 100.0;
      bool sent = false;
      const double values[] = {assets / c.netPosition, assets / (c.netPosition / 2)};
      const std::string bodies[] = {Check(" SFR", values[0], &lastSfr[i], &sent),
                                    Check(" FP", values[1], &lastOpen[i], &sent)};
      for (int kind = 0; kind < 2; ++kind) {
        if (bodies[kind].empty()) continue;
        files.push_back("UID=" + std::to_string(c.uid) + "|" + c.account + bodies[kind]);
        rows.push_back(c.account + "|" + (kind == 0 ? "2|" : "9|") +
                       Fixed(values[kind] < kCritical ? kCritical : kWarning, 4, '.') + "|" +
                       Fixed(values[kind], 4, '.') + "\n");
        if (!c.email.empty()) mails.push_back(c.email + "|" + c.account + bodies[kind]);
      }
    }
    std::sort(files.begin(), files.end());
    RunTimerOnce(kClients);
    EXPECT_EQ(NewFiles(), files) << "run " << run;
    Sleep(1100);  // the next run in the next second
  }
  ASSERT_GT(rows.size(), 100u) << "a market that moves enough";
  ASSERT_GT(mails.size(), 10u);
  std::sort(rows.begin(), rows.end());
  std::sort(mails.begin(), mails.end());
  EXPECT_EQ(SqliteQuery("select CCode || '|' || MCType || '|' || printf('%.4f', MCLevel) || '|' || "
                        "printf('%.4f', Margin) from RoadCalls order by 1"),
            std::accumulate(rows.begin(), rows.end(), std::string()));
  EXPECT_EQ(Mails(mails.size()), mails);
}

}  // namespace
