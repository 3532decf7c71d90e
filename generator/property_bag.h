// generator/property_bag.h: which module has a property bag, and the object its persistence
// procedures are named after.
#pragma once

#include <optional>
#include <string_view>

#include "host/code_module.h"

namespace generator {

// What a request with "Add PropertyChanged" shows, titled "EcrireCode", in a module without a bag.
inline constexpr std::string_view kNoPropertyBag =
    "PropertyChanged and the property bag exist only in user controls, user documents and persistable "
    "classes.";

// "UserControl" in a user control, "UserDocument" in a user document, "Class" in a class whose
// Persistable property is 1; nothing in any other module, where PropertyChanged does not compile.
// When the IDE cannot tell what the module is (it lacks the members, or the module belongs to no
// component), "UserControl", as such a module may be one. Throws what is not a host's answer.
std::optional<std::string_view> PropertyBagObject(const host::CodeModule& module);

}  // namespace generator
