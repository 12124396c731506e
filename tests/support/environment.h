// What a test needs from the machine (a GL context, a display, root): without it the test
// skips on a developer's machine, but fails in CI (CI=true), where a skip would hide it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace rq::test {

inline bool InCi() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && std::strcmp(ci, "true") == 0;
}

}  // namespace rq::test

// Instead of GTEST_SKIP: ends the test unless `ok`, skipping, or failing in CI.
#define RQ_REQUIRE_ENVIRONMENT(ok, why) \
  if (ok) {                           \
  } else if (::rq::test::InCi())      \
    FAIL() << "CI lacks what this test needs: " << why; \
  else GTEST_SKIP() << why
