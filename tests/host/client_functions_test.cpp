// Host functions 49, 135, 148, 202 and 203 answer per client, within the
// bounds the caller gives.
#include "host/standin/standin_host.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
template <int N>
typename host::FunctionSig<N>::Fn Function(StandInHost& host) {
  return reinterpret_cast<typename host::FunctionSig<N>::Fn>(
      static_cast<uintptr_t>(host.FunctionTable()[N]));
}

class ClientFunctionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClientModel& clients = host.Clients();
    clients.SetClientCode("FIRM1", "ACC1", "CLIENT1");
    clients.SetClientCode("FIRM2", "ACC1", "OTHER");
    clients.SetQualification("FIRM1", "CLIENT1", 1.0);
    clients.SetQualification("FIRM2", "OTHER", 0.0);
    clients.SetParameter("FIRM1", "CLIENT1", 0, 58, 4.0);
    clients.SetParameter("FIRM1", "CLIENT1", 77, 7, 1500.5);
    clients.SetPortfolios("FIRM1", "CLIENT1", {11, 22, 33});
  }
  // The plug-in passes the firm as the start of its 33-character field.
  const char firm1[33] = "FIRM1";
  const char firm2[33] = "FIRM2";
  StandInHost host;
};

TEST_F(ClientFunctionsTest, ConnectionIsOnUntilTheScenarioDropsIt) {
  EXPECT_NE(Function<49>(host)(), 0);
  host.Clients().SetConnected(false);
  EXPECT_EQ(Function<49>(host)(), 0);
  host.Clients().SetConnected(true);
  EXPECT_NE(Function<49>(host)(), 0);
  EXPECT_EQ(host.Log().Count(49), 3);
}

TEST_F(ClientFunctionsTest, AccountResolvesToTheClientCodeOfItsFirm) {
  const struct {
    const char* firm;
    const char* account;
    int expected;
    const char* code;
  } cases[] = {
      {firm1, "ACC1", 1, "CLIENT1"},
      {firm2, "ACC1", 1, "OTHER"},
      {firm1, "ACC2", 0, "untouched"},
      {"FIRM3", "ACC1", 0, "untouched"},
  };
  for (const auto& c : cases) {
    char buffer[33] = "untouched";
    EXPECT_EQ(Function<148>(host)(c.firm, c.account, buffer, sizeof buffer) != 0, c.expected != 0)
        << c.firm << " " << c.account;
    EXPECT_STREQ(buffer, c.code) << c.firm << " " << c.account;
  }
}

TEST_F(ClientFunctionsTest, ClientCodeIsCutAndTerminatedAtTheCapacity) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  ASSERT_NE(Function<148>(host)(firm1, "ACC1", buffer, 4), 0);
  EXPECT_STREQ(buffer, "CLI");
  EXPECT_EQ(buffer[4], 'x') << "nothing written past the capacity";
  EXPECT_EQ(Function<148>(host)(firm1, "ACC1", buffer, 0), 0);
  EXPECT_EQ(Function<148>(host)(firm1, "ACC1", nullptr, 33), 0);
  EXPECT_EQ(Function<148>(host)(nullptr, nullptr, buffer, 8), 0);
}

TEST_F(ClientFunctionsTest, QualificationIsValue36OfAKnownClient) {
  double value = -1;
  EXPECT_EQ(Function<135>(host)(firm1, "CLIENT1", 36, &value, 0), 0);
  EXPECT_DOUBLE_EQ(value, 1.0);
  EXPECT_EQ(Function<135>(host)(firm2, "OTHER", 36, &value, 0), 0);
  EXPECT_DOUBLE_EQ(value, 0.0);
  value = -1;
  EXPECT_NE(Function<135>(host)(firm1, "NOBODY", 36, &value, 0), 0);
  EXPECT_NE(Function<135>(host)(firm1, "CLIENT1", 35, &value, 0), 0);
  EXPECT_NE(Function<135>(host)(firm2, "CLIENT1", 36, &value, 0), 0) << "per firm";
  EXPECT_DOUBLE_EQ(value, -1) << "a failed query leaves the value";
  EXPECT_EQ(Function<135>(host)(firm1, "CLIENT1", 36, nullptr, 0), 0);
}

TEST_F(ClientFunctionsTest, ParameterRequestsAnswerPerPortfolio) {
  const struct {
    int32_t portfolio;
    int32_t id;
    int32_t status;
    double value;
  } cases[] = {
      {0, 58, 0, 4.0},
      {77, 7, 0, 1500.5},
      {0, 7, 1, -9},    // known at another portfolio only
      {77, 58, 1, -9},
      {5, 1, 1, -9},
  };
  for (const auto& c : cases) {
    host::ClientParamRequest request = {c.id, -5, -9};
    Function<202>(host)(firm1, "CLIENT1", c.portfolio, &request, 1);
    EXPECT_EQ(request.status, c.status) << c.portfolio << "/" << c.id;
    EXPECT_DOUBLE_EQ(request.value, c.value) << c.portfolio << "/" << c.id;
    EXPECT_EQ(request.id, c.id);
  }
  host::ClientParamRequest other = {58, -5, -9};
  Function<202>(host)(firm2, "CLIENT1", 0, &other, 1);
  EXPECT_NE(other.status, 0);
  Function<202>(host)(firm1, "CLIENT1", 0, nullptr, 1);  // nowhere to answer: no crash
}

TEST_F(ClientFunctionsTest, SeveralRequestsAreAnsweredUpToTheirCount) {
  host::ClientParamRequest requests[3] = {{58, -5, 0}, {99, -5, 0}, {58, -5, 0}};
  Function<202>(host)(firm1, "CLIENT1", 0, requests, 2);
  EXPECT_EQ(requests[0].status, 0);
  EXPECT_NE(requests[1].status, 0);
  EXPECT_EQ(requests[2].status, -5) << "beyond the count";
}

TEST_F(ClientFunctionsTest, PortfolioCountThenList) {
  int32_t count = -1;
  Function<203>(host)(firm1, "CLIENT1", nullptr, &count);
  ASSERT_EQ(count, 3);
  int32_t list[4] = {-1, -1, -1, -1};
  Function<203>(host)(firm1, "CLIENT1", list, &count);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(list[0], 11);
  EXPECT_EQ(list[2], 33);
  EXPECT_EQ(list[3], -1);
}

TEST_F(ClientFunctionsTest, PortfolioListNeverGoesPastTheCountGiven) {
  const struct {
    int32_t given;
    int32_t written;
  } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {-4, 0}};
  for (const auto& c : cases) {
    int32_t list[4] = {-1, -1, -1, -1};
    int32_t count = c.given;
    Function<203>(host)(firm1, "CLIENT1", list, &count);
    EXPECT_EQ(count, c.written) << c.given;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(list[i] != -1, i < c.written) << c.given << " at " << i;
  }
}

TEST_F(ClientFunctionsTest, UnknownClientHasNoPortfolios) {
  int32_t count = 9;
  Function<203>(host)(firm2, "CLIENT1", nullptr, &count);
  EXPECT_EQ(count, 0);
  int32_t list[1] = {-1};
  count = 1;
  Function<203>(host)(firm1, "NOBODY", list, &count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(list[0], -1);
  Function<203>(host)(firm1, "CLIENT1", list, nullptr);  // no count: nothing happens
  EXPECT_EQ(list[0], -1);
}
}  // namespace
