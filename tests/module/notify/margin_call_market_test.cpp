// A randomized market of a few hundred clients over many timer runs through
// the real DLL: every call that arrived (message files, mail at the SMTP
// sink, rows in SQLite) against a small model of the rules kept here: no
// call lost, none sent twice, none to the wrong client.
#include "module/notify/margin_call_road.h"

#include <cstdio>
#include <map>
#include <random>

namespace {

constexpr int kClients = 200, kSecurities = 10, kRuns = 10;
constexpr double kWarning = 1.0, kCritical = 0.5, kMinChange = 0.05, kNotSent = 1e30;

// One client as the rules see it: both funds-sufficiency kinds share the
// time of the last call, so the second kind waits when the first was sent
// in the same run.
struct ModelClient {
  RoadClient road;
  double lastSfr = kNotSent, lastOpen = kNotSent;
};

std::string Value(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string shown = text;
  return shown;
}

std::string Comma(std::string text) {
  text[text.find('.')] = ',';
  return text;
}

// A call: the kind, the level broken (critical or not) and the value, as a
// file, a mail and a row show them.
struct ModelCall {
  const ModelClient* client;
  int kind;
  bool critical;
  double value;

  std::string Body() const {
    const char* name = kind == 2 ? (critical ? " SFR! " : " SFR ") : (critical ? " FP! " : " FP ");
    return client->road.account + name + Comma(Value(value, 6));
  }
  std::string File() const { return "UID=" + std::to_string(client->road.uid) + "|" + Body(); }
  std::string Row() const {
    return client->road.account + "|" + std::to_string(kind) + "|" +
           Value(critical ? kCritical : kWarning, 4) + "|" + Value(value, 4);
  }
};

// The check of one kind: critical before warning, a value back above the
// warning level re-arms, a further call only when worse by more than the
// minimum change and not in the run that already sent the other kind.
bool CheckKind(double value, double* last, bool* sentThisRun, bool* critical) {
  if (!(value < kWarning)) {
    *last = kNotSent;
    return false;
  }
  *critical = value < kCritical;
  if (*sentThisRun || !(value < *last) || !(std::fabs(value - *last) > kMinChange)) return false;
  *last = value;
  *sentThisRun = true;
  return true;
}

class MarginCallMarketTest : public MarginCallRoad {
 protected:
  std::vector<std::string> FileCalls() {
    std::vector<std::string> calls;
    for (const std::string& content : NewFiles()) {
      const size_t lineEnd = content.find("\r\n");
      calls.push_back(content.substr(0, lineEnd) + "|" +
                      content.substr(lineEnd + 2, content.find("\r\n", lineEnd + 2) - lineEnd - 2));
    }
    std::sort(calls.begin(), calls.end());
    return calls;
  }

  // Recipient and body line of each mail the sink took, waiting for count.
  static std::vector<std::string> Mails(size_t count) {
    const std::string folder = Env("VANTREL_SMTP_FOLDER");
    std::vector<std::string> mails;
    for (int waited = 0; waited < 60000; waited += 200) {
      mails.clear();
      for (int n = 1; FileExists(folder + "\\" + Numbered(n, ".txt")); ++n) {
        const std::string envelope = ReadFileBytes(folder + "\\" + Numbered(n, ".envelope"));
        const size_t to = envelope.find("RCPT TO:<") + 9;
        std::string text = ReadFileBytes(folder + "\\" + Numbered(n, ".txt"));
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        mails.push_back(envelope.substr(to, envelope.find('>', to) - to) + "|" +
                        text.substr(text.find_last_of('\n') + 1));
      }
      if (mails.size() >= count) break;
      Sleep(200);
    }
    std::sort(mails.begin(), mails.end());
    return mails;
  }
  static std::string Numbered(int n, const char* suffix) {
    char name[32];
    std::snprintf(name, sizeof name, "%04d%s", n, suffix);
    return name;
  }
};

TEST_F(MarginCallMarketTest, EveryCallArrivesOnceAtItsClient) {
  ASSERT_EQ(SqliteQuery("drop table if exists RoadCalls; create table RoadCalls (MCType integer, "
                        "TDate integer, MCTime integer, MCLevel double precision, Margin double "
                        "precision, CCode varchar(12), MsgText varchar(255), MsgText2 varchar(255), "
                        "MsgText3 varchar(255), MsgText4 varchar(255), SubjText varchar(255), "
                        "FirmID varchar(12), MsgText5 varchar(255), Emails varchar(255))"),
            "");
  ASSERT_TRUE(Mails(0).empty()) << "no other test mails here";
  std::mt19937 random(20261207);
  std::vector<std::string> securities;
  for (int s = 0; s < kSecurities; ++s) securities.push_back("S0" + std::to_string(s));
  std::vector<ModelClient> clients(kClients);
  std::vector<RoadClient> road;
  for (int i = 0; i < kClients; ++i) {
    char account[16];
    std::snprintf(account, sizeof account, "R%03d", i);
    // An odd half that is no multiple of 50: no funds sufficiency lands
    // exactly on a level, so the model and the module never round apart.
    int half = 2501 + 2 * static_cast<int>(random() % 3700);
    if (half % 50 == 0) half += 2;
    clients[i].road = {account, securities[i % kSecurities], 1 + static_cast<int>(random() % 5),
                       2.0 * half, 1000 + i, i % 10 == 0 ? std::string(account) + "@client.ru" : ""};
    road.push_back(clients[i].road);
  }
  Start({{"SendSFRWarningMsg_fp", "1"}, {"SendSFRCriticalMsg_fp", "1"},
         {"MinParamChange", "0.05"}, {"NotifyByEmail", "1"}, {"SMTPServer", "127.0.0.1"},
         {"Port", Env("VANTREL_SMTP_PORT")}, {"SenderAddress", "risk@broker.ru"},
         {"NeedSaveToDB", "1"}, {"DSN", "VanTrelLite"}, {"DBTable", "RoadCalls"}},
        road, securities);

  std::vector<std::string> allRows, allMails;
  for (int run = 0; run < kRuns; ++run) {
    std::map<std::string, double> bids;
    for (const std::string& security : securities) {
      bids[security] = 20 + static_cast<double>(random() % 150);
      SetBid(security, bids[security]);
    }
    std::vector<std::string> expected;
    for (ModelClient& c : clients) {
      const double assets = bids[c.road.security] * c.road.quantity * 100.0;
      bool sent = false, critical = false;
      if (CheckKind(assets / c.road.netPosition, &c.lastSfr, &sent, &critical)) {
        const ModelCall call{&c, 2, critical, assets / c.road.netPosition};
        expected.push_back(call.File());
        allRows.push_back(call.Row());
        if (!c.road.email.empty()) allMails.push_back(c.road.email + "|" + call.Body());
      }
      if (CheckKind(assets / (c.road.netPosition / 2), &c.lastOpen, &sent, &critical)) {
        const ModelCall call{&c, 9, critical, assets / (c.road.netPosition / 2)};
        expected.push_back(call.File());
        allRows.push_back(call.Row());
        if (!c.road.email.empty()) allMails.push_back(c.road.email + "|" + call.Body());
      }
    }
    std::sort(expected.begin(), expected.end());
    RunTimerOnce(kClients);
    EXPECT_EQ(FileCalls(), expected) << "run " << run;
    Sleep(1100);  // the next run in the next second
  }
  ASSERT_GT(allRows.size(), 100u) << "a market that moves enough";
  ASSERT_GT(allMails.size(), 10u);
  std::sort(allRows.begin(), allRows.end());
  std::sort(allMails.begin(), allMails.end());
  std::string rows = SqliteQuery(
      "select CCode || '|' || MCType || '|' || printf('%.4f', MCLevel) || '|' || "
      "printf('%.4f', Margin) from RoadCalls order by 1");
  std::string expectedRows;
  for (const std::string& row : allRows) expectedRows += row + "\n";
  EXPECT_EQ(rows, expectedRows);
  EXPECT_EQ(Mails(allMails.size()), allMails);
}

}  // namespace
