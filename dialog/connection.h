// dialog/connection.h: what the dialog asks of the add-in connection that owns it.
#pragma once

namespace dialog {

// The add-in connection, as the dialog's Cancel button sees it.
class Connection {
 public:
  virtual ~Connection() = default;

  // Hides the dialog and remembers that it is no longer meant to be on screen. Never reports.
  virtual void Hide() noexcept = 0;

 protected:
  Connection() = default;
  Connection(const Connection&) = default;
  Connection& operator=(const Connection&) = default;
};

}  // namespace dialog
