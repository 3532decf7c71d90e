// generator/property_bag.cpp: the module's kind asked of the IDE through its component.
#include "generator/property_bag.h"

#include <memory>

#include "host/host_error.h"
#include "host/vb_component.h"

namespace generator {
namespace {

constexpr std::string_view kUnknownModule = "UserControl";

}  // namespace

std::optional<std::string_view> PropertyBagObject(const host::CodeModule& module) {
  host::ComponentType type{};
  std::shared_ptr<host::VBComponent> component;
  try {
    component = module.Parent();
    if (!component) return kUnknownModule;
    type = component->Type();
  } catch (const host::HostError&) {
    return kUnknownModule;
  }
  switch (type) {
    case host::ComponentType::kUserControl:
      return "UserControl";
    case host::ComponentType::kDocObject:
      return "UserDocument";
    case host::ComponentType::kClassModule:
      // A class the IDE cannot say is persistable is taken for one that is not: a VBA class has no
      // such property, and no property bag either.
      try {
        if (component->PropertyValue(host::kPersistable) == 1) return "Class";
      } catch (const host::HostError&) {
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace generator
