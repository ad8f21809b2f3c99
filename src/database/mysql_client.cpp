#include "database/mysql_client.h"

#include <errmsg.h>
#include <mysqld_error.h>
#include <poll.h>

#include <mutex>
#include <utility>

#include "database/errors.h"

namespace quorvane::database {
namespace {

// A login that hangs (a server that accepts but never answers) must not hold
// a worker thread forever.
constexpr unsigned kConnectTimeoutSeconds = 10;

// Server errors after which the session is gone even though they are not
// client (CR_*) errors.
bool EndsSession(unsigned code) {
  return (code >= CR_MIN_ERROR && code <= CR_MAX_ERROR) || code == ER_CONNECTION_KILLED ||
         code == ER_SERVER_SHUTDOWN;
}

void InitLibraryOnce() {
  // mysql_library_init is not thread-safe; mysql_init calls it implicitly on
  // first use, so make that first call ourselves, once.
  static std::once_flag once;
  std::call_once(once, [] { mysql_library_init(0, nullptr, nullptr); });
}

unsigned ServerStatus(MYSQL* handle) {
  unsigned status = 0;
  mariadb_get_infov(handle, MARIADB_CONNECTION_SERVER_STATUS, &status);
  return status;
}

}  // namespace

FieldKind FieldKindOf(const MYSQL_FIELD& field) {
  const bool binary = field.charsetnr == 63;
  switch (field.type) {
    case MYSQL_TYPE_TINY:
      // TINYINT(1) is what BOOLEAN declares.
      return field.length == 1 ? FieldKind::kBoolean : FieldKind::kInteger;
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_YEAR:
      return FieldKind::kInteger;
    case MYSQL_TYPE_LONG:
      if (field.flags & AUTO_INCREMENT_FLAG) return FieldKind::kAutoInc;
      return (field.flags & UNSIGNED_FLAG) ? FieldKind::kLongWord : FieldKind::kInteger;
    case MYSQL_TYPE_LONGLONG:
      return FieldKind::kLargeInt;
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
      return FieldKind::kFloat;
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
      return FieldKind::kBCD;
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
      return FieldKind::kDate;
    case MYSQL_TYPE_TIME:
    case MYSQL_TYPE_TIME2:
      return FieldKind::kTime;
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_DATETIME2:
    case MYSQL_TYPE_TIMESTAMP:
    case MYSQL_TYPE_TIMESTAMP2:
      return FieldKind::kDateTime;
    case MYSQL_TYPE_BIT:
      return field.length == 1 ? FieldKind::kBoolean : FieldKind::kBytes;
    case MYSQL_TYPE_VARCHAR:
    case MYSQL_TYPE_VAR_STRING:
    case MYSQL_TYPE_STRING:
    case MYSQL_TYPE_ENUM:
    case MYSQL_TYPE_SET:
      return binary ? FieldKind::kBytes : FieldKind::kText;
    case MYSQL_TYPE_TINY_BLOB:
    case MYSQL_TYPE_MEDIUM_BLOB:
    case MYSQL_TYPE_LONG_BLOB:
    case MYSQL_TYPE_BLOB:
      return binary ? FieldKind::kBlob : FieldKind::kText;
    case MYSQL_TYPE_JSON:
    case MYSQL_TYPE_NULL:
      return FieldKind::kText;
    default:
      return FieldKind::kUnknown;
  }
}

std::unique_ptr<MysqlSession> MysqlSession::Connect(const ConnectParams& params) {
  InitLibraryOnce();
  MysqlPtr handle{mysql_init(nullptr)};
  if (!handle) throw DatabaseError("mysql_init failed: out of memory", CR_OUT_OF_MEMORY);
  my_bool reconnect = 0;  // a lost session is replaced by the pool, never resumed
  mysql_optionsv(handle.get(), MYSQL_OPT_RECONNECT, &reconnect);
  unsigned timeout = kConnectTimeoutSeconds;
  mysql_optionsv(handle.get(), MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
  if (!params.character_set.empty()) {
    mysql_optionsv(handle.get(), MYSQL_SET_CHARSET_NAME, params.character_set.c_str());
  }
  const char* db = params.database.empty() ? nullptr : params.database.c_str();
  if (!mysql_real_connect(handle.get(), params.host.c_str(), params.user.c_str(),
                          params.password.c_str(), db, params.port, nullptr, 0)) {
    throw DatabaseError(mysql_error(handle.get()), mysql_errno(handle.get()),
                        mysql_sqlstate(handle.get()));
  }
  std::unique_ptr<MysqlSession> session(new MysqlSession(std::move(handle)));
  session->current_database_ = params.database;
  session->EnsureBackslashEscapes();
  return session;
}

void MysqlSession::Fail() {
  const unsigned code = mysql_errno(handle_.get());
  if (EndsSession(code)) broken_ = true;
  throw DatabaseError(mysql_error(handle_.get()), code, mysql_sqlstate(handle_.get()));
}

// Our literals are written for a session in which backslash is the escape
// character (the default): Str doubles it. A server configured with
// NO_BACKSLASH_ESCAPES would still read them safely but keep the doubled
// backslashes in the data, so our sessions switch the mode off. The server
// reports the mode in every status, so the usual case costs nothing.
void MysqlSession::EnsureBackslashEscapes() {
  if (!(ServerStatus(handle_.get()) & SERVER_STATUS_NO_BACKSLASH_ESCAPES)) return;
  Execute(
      "SET SESSION sql_mode = TRIM(BOTH ',' FROM REPLACE(CONCAT(',', @@SESSION.sql_mode, ','), "
      "',NO_BACKSLASH_ESCAPES,', ','))");
}

void MysqlSession::SelectDatabase(const std::string& database) {
  Touch();
  if (mysql_select_db(handle_.get(), database.c_str()) != 0) Fail();
  current_database_ = database;
}

StatementOutcome MysqlSession::Execute(std::string_view sql) {
  Touch();
  if (mysql_real_query(handle_.get(), sql.data(), sql.size()) != 0) Fail();
  MysqlResultPtr result{mysql_store_result(handle_.get())};
  if (!result && mysql_field_count(handle_.get()) != 0) Fail();
  StatementOutcome outcome;
  outcome.affected_rows = mysql_affected_rows(handle_.get());
  outcome.insert_id = mysql_insert_id(handle_.get());
  return outcome;
}

ResultSet MysqlSession::Query(std::string_view sql) {
  Touch();
  if (mysql_real_query(handle_.get(), sql.data(), sql.size()) != 0) Fail();
  MysqlResultPtr result{mysql_store_result(handle_.get())};
  if (!result) {
    if (mysql_field_count(handle_.get()) != 0) Fail();
    return ResultSet();
  }
  const unsigned count = mysql_num_fields(result.get());
  const MYSQL_FIELD* fields = mysql_fetch_fields(result.get());
  std::vector<Column> columns;
  columns.reserve(count);
  for (unsigned i = 0; i < count; ++i) {
    Column column;
    column.name.assign(fields[i].name, fields[i].name_length);
    column.kind = FieldKindOf(fields[i]);
    columns.push_back(std::move(column));
  }
  std::vector<Row> rows;
  rows.reserve(static_cast<std::size_t>(mysql_num_rows(result.get())));
  while (MYSQL_ROW row = mysql_fetch_row(result.get())) {
    const unsigned long* lengths = mysql_fetch_lengths(result.get());
    Row values(count);
    for (unsigned i = 0; i < count; ++i) {
      if (row[i]) values[i].text.emplace(row[i], lengths[i]);
    }
    rows.push_back(std::move(values));
  }
  return ResultSet(std::move(columns), std::move(rows));
}

bool MysqlSession::ClosedByPeer() const {
  const my_socket fd = mysql_get_socket(handle_.get());
  if (fd == static_cast<my_socket>(-1)) return true;
  // An idle session has nothing to read: anything readable is the server's
  // goodbye (an error packet, or the end of the stream).
  pollfd p{fd, POLLIN | POLLRDHUP, 0};
  return ::poll(&p, 1, 0) != 0;
}

bool MysqlSession::Ping() {
  Touch();
  if (mysql_ping(handle_.get()) != 0) broken_ = true;
  return !broken_;
}

bool MysqlSession::ResetSession() {
  if (broken_) return false;
  if (mysql_reset_connection(handle_.get()) != 0) {
    broken_ = true;
    return false;
  }
  try {
    EnsureBackslashEscapes();
  } catch (const DatabaseError&) {
    broken_ = true;
  }
  return !broken_;
}

unsigned long MysqlSession::server_thread_id() const { return mysql_thread_id(handle_.get()); }

}  // namespace quorvane::database
