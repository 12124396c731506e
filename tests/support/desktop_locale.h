// The desktop's locale variables for one test, with the build's catalogues bound; both as
// they were afterwards.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/language.h"

namespace rq::test {

// LANG as `lang` (null: unset) and the other locale variables unset; the catalogues of
// `catalogs` bound.
class DesktopLocale {
 public:
  DesktopLocale(const char* lang, const char* catalogs) {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
      unsetenv(name);
    }
    if (lang) setenv("LANG", lang, 1);
    BindCatalogs(catalogs);
  }
  ~DesktopLocale() {
    BindCatalogs("");
    for (const auto& [name, value] : saved_) {
      if (value) setenv(name.c_str(), value->c_str(), 1);
      else unsetenv(name.c_str());
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace rq::test
