// What a test needs from the machine (a GL context, a display, root): without it the test
// skips on a developer's machine, but fails in CI (CI=true), where a skip would hide it.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace rq::test {

inline bool InCi() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && std::strcmp(ci, "true") == 0;
}

// For one case of a table: a failure in CI, a note otherwise; the caller goes on.
inline void MissingEnvironment(const std::string& why) {
  if (InCi()) ADD_FAILURE() << "CI lacks what this test needs: " << why;
  else std::printf("skipped: %s\n", why.c_str());
}

}  // namespace rq::test

// Instead of GTEST_SKIP: ends the test unless `ok`, skipping, or failing in CI.
#define RQ_REQUIRE_ENVIRONMENT(ok, why) \
  if (ok) {                           \
  } else if (::rq::test::InCi())      \
    FAIL() << "CI lacks what this test needs: " << why; \
  else GTEST_SKIP() << why
