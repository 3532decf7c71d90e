// host/vbe.h: the host environment's root object, as the add-in receives it at connection.
#pragma once

#include <memory>

namespace host {

class CodePane;

class Vbe {
 public:
  virtual ~Vbe() = default;

  // The code pane with the focus; an empty pointer when no code window is open.
  virtual std::shared_ptr<CodePane> ActiveCodePane() = 0;

 protected:
  Vbe() = default;
  Vbe(const Vbe&) = default;
  Vbe& operator=(const Vbe&) = default;
};

}  // namespace host
