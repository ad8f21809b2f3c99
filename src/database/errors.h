#pragma once

#include <stdexcept>
#include <string>

namespace quorvane::database {

// A failure reported by the database or by the client library: connecting,
// selecting a schema, running a statement, reading its result. what() is the
// database layer's own message ("Unknown database 'x'", "Can't connect to
// server on '127.0.0.1' (111)", "Table 'loja.x' doesn't exist"), so callers
// can show it or look for words in it as they are used to.
class DatabaseError : public std::runtime_error {
 public:
  DatabaseError(const std::string& message, unsigned code = 0, std::string sql_state = {})
      : std::runtime_error(message), code_(code), sql_state_(std::move(sql_state)) {}

  // The server's ER_* or the client's CR_* number; 0 when the failure did not
  // come from MariaDB (for example a driver that is not available).
  unsigned code() const { return code_; }
  const std::string& sql_state() const { return sql_state_; }
  // True for client-side (CR_*, 2000-2999) failures: the connection is gone
  // or unusable, as opposed to a statement the server refused.
  bool is_client_error() const { return code_ >= 2000 && code_ < 3000; }

 private:
  unsigned code_;
  std::string sql_state_;
};

// Text from a client that is refused before it reaches any SQL: a paging
// parameter that is not a decimal integer, a column name that is not a plain
// identifier, a key value that is not a list of literals. what() is a message
// for the client, in Portuguese ("Parâmetro limit inválido: abc"); the data
// service answers it with 400 {"message": what()}.
class InvalidInputError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// A value or a result that cannot be converted: an unsupported column kind
// ("Cannot find type for field "x""), a converter without data set, a
// format string that does not fit its arguments.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Creating a dialect object other than through getInstance.
class SingletonError : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

}  // namespace quorvane::database
