// Proves the test MariaDB that the test command starts is reachable with the
// server's fixed account, over TCP and over the default socket.
#include <mysql.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

template <auto FreeFn>
struct FreeWith {
  template <class T>
  void operator()(T* p) const noexcept { FreeFn(p); }
};
using MysqlPtr = std::unique_ptr<MYSQL, FreeWith<&mysql_close>>;
using ResultPtr = std::unique_ptr<MYSQL_RES, FreeWith<&mysql_free_result>>;

std::string Env(const char* name, const char* fallback) {
  const char* v = std::getenv(name);
  return v && *v ? v : fallback;
}

TEST(DbSmokeTest, ConnectsAndQueries) {
  for (const std::string host : {"127.0.0.1", "localhost"}) {
    SCOPED_TRACE(host);
    MysqlPtr conn{mysql_init(nullptr)};
    ASSERT_NE(conn, nullptr);
    const std::string password = Env("QUORVANE_DB_PASSWORD", "vortexpin");
    ASSERT_NE(mysql_real_connect(conn.get(), host.c_str(), "root", password.c_str(), nullptr, 3306,
                                 nullptr, 0),
              nullptr)
        << mysql_error(conn.get());
    ASSERT_EQ(mysql_query(conn.get(), "SELECT 40 + 2"), 0) << mysql_error(conn.get());
    ResultPtr res{mysql_store_result(conn.get())};
    ASSERT_NE(res, nullptr);
    MYSQL_ROW row = mysql_fetch_row(res.get());
    ASSERT_NE(row, nullptr);
    EXPECT_STREQ(row[0], "42");
  }
}

}  // namespace
