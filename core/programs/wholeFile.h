// Reading a file whole and replacing a file without ever leaving it cut short.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

enum class WholeFileRead { ok, cannotRead, tooLarge };

// Reads the file into bytes; files larger than limit are not read.
WholeFileRead readWholeFile(const std::string& path, std::vector<unsigned char>& bytes,
                            std::size_t limit);

// Writes bytes to a new file in the target's folder and renames it over the
// target once every byte is written and the file is closed. On failure the
// target is untouched and no temporary file is left behind.
bool replaceFile(const std::string& path, std::span<const unsigned char> bytes);
