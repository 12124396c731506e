// The process clock in milliseconds, which times the search budget and every effect of the picture.
#pragma once

#include <cstdint>

namespace rq {

int32_t ElapsedMilliseconds();

}  // namespace rq
