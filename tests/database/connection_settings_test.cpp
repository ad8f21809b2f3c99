// DatabaseConnection settings, dialect selection and the driver link; no
// database server is needed.
#include <gtest/gtest.h>

#include <string>

#include "database/connection.h"
#include "database/errors.h"
#include "database/firebird.h"
#include "database/mysql.h"

namespace quorvane::database {
namespace {

TEST(DatabaseConnectionTest, NewObjectDefaults) {
  DatabaseConnection c;
  EXPECT_EQ(c.KeyFieldsDefault(), "id");
  EXPECT_EQ(c.CharacterSet(), "utf8");
  EXPECT_EQ(c.DriverID(), "MySQL");
  EXPECT_EQ(c.Port(), "3306");
  EXPECT_TRUE(c.Pagination());
  EXPECT_EQ(c.UserName(), "");
  EXPECT_EQ(c.Password(), "");
  EXPECT_EQ(c.Server(), "");
  EXPECT_EQ(c.Database(), "");
  EXPECT_EQ(c.type_database(), TypeDatabase::kMySQL);
  EXPECT_EQ(&c.DatabaseBase(), &LibDBMySQL::getInstance());
  ASSERT_TRUE(CurrentDriverLink());
  EXPECT_EQ(CurrentDriverLink()->kind, TypeDatabase::kMySQL);
}

TEST(DatabaseConnectionTest, FirebirdAndBackToMySQL) {
  DatabaseConnection c;
  c.SetServer("db.local");
  c.SetDatabase("loja");
  c.ConfigureToFirebird();
  EXPECT_EQ(c.type_database(), TypeDatabase::kFirebird);
  EXPECT_EQ(&c.DatabaseBase(), &LibDBFirebird::getInstance());
  EXPECT_FALSE(c.Pagination());
  EXPECT_EQ(c.Port(), "3050");
  EXPECT_EQ(c.DriverID(), "FB");
  EXPECT_EQ(c.UserName(), "SYSDBA");
  EXPECT_EQ(c.Password(), "vortexpin");
  EXPECT_EQ(c.Server(), "db.local");
  EXPECT_EQ(c.Database(), "loja");
  ASSERT_TRUE(CurrentDriverLink());
  EXPECT_EQ(CurrentDriverLink()->kind, TypeDatabase::kFirebird);
  EXPECT_EQ(CurrentDriverLink()->client_library, "libfbclient.so.2");

  c.ConfigureToMySQL();
  EXPECT_EQ(c.DriverID(), "MySQL");
  EXPECT_EQ(c.Port(), "3306");
  EXPECT_TRUE(c.Pagination());
  EXPECT_EQ(c.UserName(), "SYSDBA");  // user and password stay
  EXPECT_EQ(c.Password(), "vortexpin");
  EXPECT_EQ(CurrentDriverLink()->kind, TypeDatabase::kMySQL);
  EXPECT_EQ(CurrentDriverLink()->client_library, "libmariadb.so.3");
}

TEST(DatabaseConnectionTest, CustomConnectionCarriesTheSevenSettings) {
  DatabaseConnection c;
  c.SetUserName("root");
  c.SetPassword("pw");
  c.SetServer("localhost");
  c.SetDatabase("a b'c");
  auto custom = c.CreateCustomConnection();
  EXPECT_FALSE(custom->Connected());
  const ConnectionSettings& s = custom->settings();
  EXPECT_EQ(s.Param("User_Name"), "root");
  EXPECT_EQ(s.Param("Password"), "pw");
  EXPECT_EQ(s.Param("Server"), "localhost");
  EXPECT_EQ(s.Param("Database"), "a b'c");  // verbatim
  EXPECT_EQ(s.Param("CharacterSet"), "utf8");
  EXPECT_EQ(s.Param("DriverID"), "MySQL");
  EXPECT_EQ(s.Param("Port"), "3306");
  EXPECT_EQ(s.Param("Other"), "");
}

TEST(DatabaseConnectionTest, FirebirdStatementsFailClearly) {
  DatabaseConnection c;
  c.ConfigureToFirebird();
  auto connected = c.Connected();  // the failed open is not reported here
  EXPECT_FALSE(connected->Connected());
  DatabaseConnection::Disconnected(std::move(connected));
  try {
    c.ExecuteSQL("delete from t");
    FAIL();
  } catch (const DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("Firebird driver not available"), std::string::npos);
  }
  // Firebird ignores limit and page: the bad limit is not even looked at.
  const PagingParameters paging{"not a number", std::nullopt};
  EXPECT_THROW(c.SelectToJSONArray(paging, "select 1 from rdb$database", false), DatabaseError);
  EXPECT_THROW(c.Insert("t", "a", "1", "id"), DatabaseError);
  c.ConfigureToMySQL();
}

TEST(DatabaseConnectionTest, BadDriverOrPortFailOnTheStatement) {
  DatabaseConnection c;
  c.SetDriverID("ODBC");
  EXPECT_THROW(c.ExecuteSQL("select 1"), DatabaseError);
  c.ConfigureToMySQL();
  c.SetPort("33o6");
  EXPECT_THROW(c.ExecuteSQL("select 1"), DatabaseError);
}

}  // namespace
}  // namespace quorvane::database
