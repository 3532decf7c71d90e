// generator/request_rules.cpp: the empty-name rule.
#include "generator/request_rules.h"

#include <string>

#include "host/host_error.h"
#include "host/ui.h"

namespace generator {

void RequireRoutineName(const Request& request) {
  if (request.sNom_Propriete.empty() && !request.bComment) {
    throw host::HostError{kErrNameMissing, std::string{host::kProgramTitle}, std::string{kNameMissing}};
  }
}

}  // namespace generator
