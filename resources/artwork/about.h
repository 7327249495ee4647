#pragma once

#include "canvas.h"

namespace artwork {

// The 400 x 276 about picture that covers the top of the editor while it is open.
Image renderAbout();

} // namespace artwork
