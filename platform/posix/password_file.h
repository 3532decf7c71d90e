// platform/posix/password_file.h: a user's home folder as /etc/passwd gives it.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace platform::posix {

// The home folder of user `uid` in `passwd`, text in the form of /etc/passwd
// (name:password:uid:gid:comment:home:shell, a line each), or "" when no line gives that user an
// absolute one.
std::string HomeInPasswordFile(std::string_view passwd, uid_t uid);

}  // namespace platform::posix
