// A picture of a pop-up menu as the headless backend recorded it: the items
// in their columns, separators as rules, the checked item marked.
#pragma once

#include <string>

#include "platform/headless/headlessPopupMenu.h"

namespace editorpicture {

bool renderMenuPng(const platform::headless::MenuRecord& menu, const std::string& path,
                   std::string& error);

}  // namespace editorpicture
