#include "database/custom_connection.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

#include "database/errors.h"

namespace quorvane::database {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string ConnectionSettings::Param(std::string_view key) const {
  if (key == "User_Name") return user_name;
  if (key == "Password") return password;
  if (key == "Server") return server;
  if (key == "Database") return database;
  if (key == "CharacterSet") return character_set;
  if (key == "DriverID") return driver_id;
  if (key == "Port") return port;
  return {};
}

ConnectParams CustomConnection::ServerParams() const {
  if (EqualsNoCase(settings_.driver_id, "FB")) {
    throw DatabaseError(
        "Firebird driver not available: this server has no Firebird client library; "
        "only MySQL connections can be opened");
  }
  if (!EqualsNoCase(settings_.driver_id, "MySQL")) {
    throw DatabaseError("Unknown database driver ID \"" + settings_.driver_id + "\"");
  }
  ConnectParams params;
  params.host = settings_.server;
  params.user = settings_.user_name;
  params.password = settings_.password;
  params.character_set = settings_.character_set;
  params.port = 0;  // the client library's default
  if (!settings_.port.empty()) {
    unsigned port = 0;
    const char* end = settings_.port.data() + settings_.port.size();
    const auto [ptr, ec] = std::from_chars(settings_.port.data(), end, port);
    if (ec != std::errc() || ptr != end || port == 0 ||
        port > std::numeric_limits<std::uint16_t>::max()) {
      throw DatabaseError("Invalid database port \"" + settings_.port + "\"");
    }
    params.port = port;
  }
  return params;
}

void CustomConnection::Open() {
  // A session lost by an earlier statement is let go; the statement about to
  // run has not been sent yet, so a new session is safe.
  if (lease_ && lease_->broken()) lease_.Release();
  if (lease_) return;
  lease_ = LeaseSession(ServerParams(), settings_.database);
}

void CustomConnection::Close() noexcept { lease_.Release(); }

StatementOutcome CustomConnection::ExecuteDirect(std::string_view sql) {
  Open();
  return lease_->Execute(sql);
}

std::int64_t CustomConnection::ExecuteSQL(std::string_view sql) {
  const std::uint64_t id = ExecuteDirect(sql).insert_id;
  return id > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
             ? 0
             : static_cast<std::int64_t>(id);
}

ResultSet CustomConnection::Query(std::string_view sql) {
  Open();
  return lease_->Query(sql);
}

void CustomConnection::SelectDatabase(const std::string& database) {
  if (lease_ && lease_->broken()) lease_.Release();
  if (lease_ && lease_->current_database() != database) {
    if (database.empty()) {
      // A session cannot drop its default database; take one without.
      Close();
    } else {
      lease_->SelectDatabase(database);
    }
  }
  settings_.database = database;
}

}  // namespace quorvane::database
