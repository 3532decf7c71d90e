// host/source_files/memory_component.h: a component whose kind, and for a class whether it is
// persistable, are known when its module is made.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "host/vb_code/code_lines.h"
#include "host/vb_component.h"
#include "host/vb_errors.h"

namespace host {

class MemoryComponent final : public VBComponent {
 public:
  MemoryComponent(ComponentType type, bool persistable, std::string name = {}) noexcept
      : type_(type), persistable_(persistable), name_(std::move(name)) {}

  ComponentType Type() const override { return type_; }
  // A class has Persistable (0 or 1); any other name, or any name of another kind of component, is
  // the IDE's "Invalid procedure call or argument".
  long PropertyValue(std::string_view name) const override {
    if (type_ == ComponentType::kClassModule && SameName(name, kPersistable)) return persistable_ ? 1 : 0;
    throw VbError(kErrInvalidCall);
  }
  std::string Name() const override { return name_; }

 private:
  ComponentType type_;
  bool persistable_;
  std::string name_;
};

}  // namespace host
