#pragma once

#include "database/connection.h"

namespace quorvane::controller {

// A transaction on the request's database lease (the connection object of
// model::ModelDatabase::RequestConnection, whose statements all run on one
// session). Statements of the request made while it lives take part in it;
// it is rolled back unless Commit() was reached, so an early answer (a
// refusal that throws WebCallbackInterrupted) or a database error leaves
// nothing behind and releases the row locks at once.
class RequestTransaction {
 public:
  explicit RequestTransaction(database::DatabaseConnection& connection) : connection_(connection) {
    connection_.ExecuteSQL("START TRANSACTION");
  }
  ~RequestTransaction() { Rollback(); }
  RequestTransaction(const RequestTransaction&) = delete;
  RequestTransaction& operator=(const RequestTransaction&) = delete;

  void Commit() {
    connection_.ExecuteSQL("COMMIT");
    open_ = false;
  }

  // Undoes what the transaction wrote. A failure is dropped: the lease is
  // reset (which rolls back) when it goes back to the pool.
  void Rollback() noexcept {
    if (!open_) return;
    open_ = false;
    try {
      connection_.ExecuteSQL("ROLLBACK");
    } catch (...) {
    }
  }

 private:
  database::DatabaseConnection& connection_;
  bool open_ = true;
};

}  // namespace quorvane::controller
