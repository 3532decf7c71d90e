// The home folder read from text in the form of /etc/passwd.
#include "platform/posix/password_file.h"

#include <gtest/gtest.h>

namespace {

TEST(PasswordFileTest, HomeOfTheUserWithThatNumber) {
  struct Case {
    const char* passwd;
    uid_t uid;
    const char* home;
  };
  const Case cases[] = {
      {"root:x:0:0:root:/root:/bin/bash\n", 0, "/root"},
      // The number whole: 100 is not 10, nor is 10 the start of 100.
      {"u100:x:100:100::/home/u100:/bin/sh\nu10:x:10:10::/home/u10:/bin/sh\n", 10, "/home/u10"},
      {"u10:x:10:10::/home/u10:/bin/sh\n", 100, ""},
      // Without a shell, or a last line without a break.
      {"daemon:x:1:1::/usr/sbin\n", 1, "/usr/sbin"},
      {"# local users\n\nada:x:1000:1000:Ada,,,:/home/ada:/bin/bash", 1000, "/home/ada"},
      // No folder, or one that is not absolute, is none.
      {"nobody:x:65534:65534:nobody::/usr/sbin/nologin\n", 65534, ""},
      {"rel:x:5:5::home/rel:/bin/sh\n", 5, ""},
      {"short:x:7:7\n", 7, ""},
      {"", 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.passwd);
    EXPECT_EQ(platform::posix::HomeInPasswordFile(c.passwd, c.uid), c.home);
  }
}

}  // namespace
