// Which installed font family serves a face name the toolkit asks for.
#pragma once

#include <string>

namespace platform::cairo_draw {

// The family fontconfig serves for `face` ("Arial" gives "Liberation Sans").
std::string servingFamily(const char* face);

}  // namespace platform::cairo_draw
