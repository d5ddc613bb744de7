// ZMAIL.DLL loaded as the plug-in loads it; the mail goes to the
// local SMTP sink that tests/support/with_smtp_sink.sh runs beside the tests.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "sdk/zmail_api.h"

namespace {

using ::testing::HasSubstr;

std::string Env(const char* name) {
  char value[MAX_PATH] = "";
  GetEnvironmentVariableA(name, value, sizeof value);
  return value;
}

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// What the sink received, in order: N.envelope, N.eml, N.txt (the decoded view).
struct Received {
  std::string envelope, raw, view;
};
std::vector<Received> ReceivedMail(bool remove = false) {
  std::vector<Received> mail;
  const std::string folder = Env("VANTREL_SMTP_FOLDER") + "\\";
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*.txt").c_str(), &found);
  for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
    const std::string base = folder + std::string(found.cFileName, 4);
    mail.push_back(
        {FileText(base + ".envelope"), FileText(base + ".eml"), FileText(base + ".txt")});
    for (const char* suffix : {".envelope", ".eml", ".txt"})
      if (remove) DeleteFileA((base + suffix).c_str());
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  return mail;
}

std::string Envelope(const std::string& recipients, const std::string& login = "-") {
  std::istringstream list(recipients);
  std::string envelope = "MAIL FROM:<robot@broker.test>\n", recipient;
  while (list >> recipient) envelope += "RCPT TO:<" + recipient + ">\n";
  return envelope + "AUTH " + login + "\n";
}

// The library's window must be gone once it is stopped: the host may unload
// the library right after, and a message for the window would then crash it.
int MessageOnlyWindowsOfThisThread() {
  int count = 0;
  for (HWND window = nullptr; (window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr));)
    count += GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
  return count;
}

template <typename F>
F Export(const char* library, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(LoadLibraryA(library), name)));
}

class MailLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(setHandler && start && startEx && addMessage && stop);
    current = this;
    setHandler(&MailLibraryTest::OnError, this);
    ReceivedMail(true);
  }
  void TearDown() override {
    stop();
    current = nullptr;
  }

  // The library passes a value of its own, not the context registered: the
  // handler finds the test by itself.
  static void __stdcall OnError(const char* text, void* libraryValue) {
    MailLibraryTest* test = current;
    test->calls.push_back(text);
    test->libraryValues.push_back(libraryValue);
    test->callsOnThisThread &= GetCurrentThreadId() == test->thread;
    if (test->stopInHandler) test->stop();
  }

  // Handles this thread's messages until done or the time is up.
  static bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 20000) {
    for (const DWORD begin = GetTickCount(); GetTickCount() - begin < milliseconds; Sleep(10)) {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
      if (done()) return true;
    }
    return false;
  }

  int Start(const char* portName, const char* login = nullptr, const char* password = nullptr) {
    const int port = atoi(Env(portName).c_str());
    return login ? startEx("127.0.0.1", port, login, password, "robot@broker.test", error)
                 : start("127.0.0.1", port, "robot@broker.test", error);
  }
  int Send(const char* to, const char* copies = "", const char* blindCopies = "",
           const std::string& subject = "Margin call", const std::string& body = "Text") {
    return addMessage(to, copies, blindCopies, subject.c_str(), body.c_str(), 0, error);
  }

  ZMLSetErrorHandlerExFn setHandler =
      Export<ZMLSetErrorHandlerExFn>("ZMAIL.DLL", "ZMLSetErrorHandlerEx");
  ZMLStartFn start = Export<ZMLStartFn>("ZMAIL.DLL", "ZMLStart");
  ZMLStartExFn startEx = Export<ZMLStartExFn>("ZMAIL.DLL", "ZMLStart_Ex");
  ZMLAddMsgExFn addMessage = Export<ZMLAddMsgExFn>("ZMAIL.DLL", "ZMLAddMsgEx");
  ZMLStopFn stop = Export<ZMLStopFn>("ZMAIL.DLL", "ZMLStop");
  char error[ZMAIL_ERROR_BUFFER_SIZE] = "";
  std::vector<std::string> calls;
  std::vector<void*> libraryValues;
  static inline MailLibraryTest* current = nullptr;
  const DWORD thread = GetCurrentThreadId();
  bool callsOnThisThread = true, stopInHandler = false;
};

// Line breaks (LF, CR LF, a lone CR) arrive in the mail's canonical form, CR LF; the sink's
// view shows the headers as a mail reader decodes them.
TEST_F(MailLibraryTest, DeliversWithHeadersCopiesAndCyrillicText) {
  const std::string login = Env("VANTREL_SMTP_LOGIN"), longLine(90, 'Ж');
  struct Case {
    const char *name, *port, *login, *to, *copies, *blindCopies;
    std::string subject, body, envelope, headers, decodedBody;
  } cases[] = {
      {"one recipient", "VANTREL_SMTP_PORT", nullptr, "c@x.test", "", "", "Margin call",
       "Low.\nTop\rup.", Envelope("c@x.test"), "To: c@x.test\nSubject: Margin call\n",
       "Low.\r\nTop\r\nup.\r\n"},
      {"copies and blind copies", "VANTREL_SMTP_PORT", nullptr, "a@x.test",
       "Risk desk <b@x.test>,c@x.test", "d@x.test; e@x.test", "MC", "Body",
       Envelope("a@x.test b@x.test c@x.test d@x.test e@x.test"),
       "To: a@x.test\nCc: Risk desk <b@x.test>, c@x.test\nSubject: MC\n", "Body\r\n"},
      // Leading dots that the transfer must keep, a line ending in blanks.
      {"Cyrillic text", "VANTREL_SMTP_PORT", nullptr, "c@x.test", "", "",
       "Маржин-колл: уровень обеспеченности клиента C001 ниже 0,5 (критический)",
       "Уважаемый клиент!\r\n.\r\n..две точки = знак \t\r\n" + longLine, Envelope("c@x.test"),
       "To: c@x.test\nSubject: Маржин-колл: уровень обеспеченности клиента C001 ниже 0,5 "
       "(критический)\n",
       "Уважаемый клиент!\r\n.\r\n..две точки = знак \t\r\n" + longLine + "\r\n"},
      {"AUTH LOGIN", "VANTREL_SMTP_AUTH_PORT", login.c_str(), "c@x.test", "", "", "Margin call",
       "Text", Envelope("c@x.test", login), "To: c@x.test\nSubject: Margin call\n", "Text\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(Start(c.port, c.login, Env("VANTREL_SMTP_PASSWORD").c_str()), 1) << error;
    ASSERT_EQ(Send(c.to, c.copies, c.blindCopies, c.subject, c.body), 1) << error;
    ASSERT_TRUE(PumpUntil([] { return !ReceivedMail().empty(); }));
    const Received mail = ReceivedMail(true).front();
    EXPECT_EQ(mail.envelope, c.envelope);
    EXPECT_EQ(mail.view, "From: robot@broker.test\n" + c.headers +
                             "Content-Type: text/plain; charset=\"windows-1251\"\n\n" +
                             c.decodedBody);
    EXPECT_THAT(mail.raw, ::testing::Not(HasSubstr("Bcc")));
    EXPECT_THAT(mail.raw,
                ::testing::Not(::testing::AnyOf(HasSubstr(" \r\n"), HasSubstr("\t\r\n"))))
        << "a blank that ends a line may be lost on the way";
    for (unsigned char byte : mail.raw) ASSERT_LT(byte, 128) << "only 7-bit data goes out";
    EXPECT_TRUE(calls.empty());
    const int windows = MessageOnlyWindowsOfThisThread();
    stop();
    EXPECT_EQ(MessageOnlyWindowsOfThisThread(), windows - 1);
  }
}

// Failures of a delivery reach the handler once, on the starting thread, with
// the server and its answer.
TEST_F(MailLibraryTest, ReportsDeliveryFailuresThroughTheHandler) {
  struct Case {
    const char *name, *port, *login, *password, *to, *copies;
    std::vector<std::string> inError;
    std::string delivered;  // the envelope of what still arrived
  } cases[] = {
      {"wrong password", "VANTREL_SMTP_AUTH_PORT", "robot", "wrong", "c@x.test", "",
       {"AUTH LOGIN", "535"}, ""},
      {"no login where AUTH is required", "VANTREL_SMTP_AUTH_PORT", nullptr, nullptr, "c@x.test",
       "", {"530"}, ""},
      {"server down", "VANTREL_SMTP_DOWN_PORT", nullptr, nullptr, "c@x.test", "",
       {"Can not connect"}, ""},
      {"refused recipient", "VANTREL_SMTP_PORT", nullptr, nullptr, "refused@x.test", "c@x.test",
       {"refused@x.test", "550"}, Envelope("c@x.test")},
      {"message rejected", "VANTREL_SMTP_PORT", nullptr, nullptr, "rejected@x.test", "",
       {"the message", "554"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    calls.clear();
    ASSERT_EQ(Start(c.port, c.login, c.password), 1) << error;
    ASSERT_EQ(Send(c.to, c.copies), 1) << error;
    ASSERT_TRUE(PumpUntil([this] { return !calls.empty(); }));
    PumpUntil([] { return false; }, 300);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(callsOnThisThread);
    EXPECT_NE(libraryValues.back(), static_cast<void*>(this)) << "not the registered context";
    for (const std::string& part : c.inError) EXPECT_THAT(calls[0], HasSubstr(part));
    EXPECT_THAT(calls[0], HasSubstr("127.0.0.1:" + Env(c.port)));
    const std::vector<Received> mail = ReceivedMail(true);
    EXPECT_EQ(mail.empty() ? "" : mail[0].envelope, c.delivered);
    stop();
  }
}

TEST_F(MailLibraryTest, HandlerThatStopsTheLibraryEndsTheQueueAndAllowsARestart) {
  stopInHandler = true;
  ASSERT_EQ(Start("VANTREL_SMTP_DOWN_PORT"), 1) << error;
  for (int i = 0; i < 3; ++i) ASSERT_EQ(Send("c@x.test"), 1);
  ASSERT_TRUE(PumpUntil([this] { return !calls.empty(); }));
  PumpUntil([] { return false; }, 500);
  EXPECT_EQ(calls.size(), 1u);
  ASSERT_EQ(Start("VANTREL_SMTP_PORT"), 1) << error;
  ASSERT_EQ(Send("c@x.test"), 1);
  EXPECT_TRUE(PumpUntil([] { return !ReceivedMail().empty(); }));
}

// Calls that cannot be carried out answer 0 with the reason, at once.
TEST_F(MailLibraryTest, RefusesCallsItCannotCarryOut) {
  EXPECT_EQ(start("127.0.0.1", 0, "robot@broker.test", error), 1) << "0 stands for port 25";
  stop();
  const auto started = [this] { return Start("VANTREL_SMTP_PORT"); };
  const std::pair<std::function<int()>, const char*> cases[] = {
      {[&] { return Send("c@x.test"); }, "not started"},
      {[&] { return start("", 25, "robot@broker.test", error); }, "No SMTP server"},
      {[&] { return start("127.0.0.1", 65536, "robot@broker.test", error); }, "not valid"},
      {[&] { return start("127.0.0.1", 25, "robot", error); }, "sender address is not valid"},
      {[&] { return started() && started(); }, "already started"},
      {[&] { return started() && Send(" ; "); }, "No recipient"},
      {[&] { return started() && Send("a@x.test", "b@x.test, Mr Smith"); }, "not valid: Mr Smith"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.second);
    error[0] = '\0';
    EXPECT_EQ(c.first(), 0);
    EXPECT_THAT(error, HasSubstr(c.second));
    stop();
  }
}

}  // namespace
