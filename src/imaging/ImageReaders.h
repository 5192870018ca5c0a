#pragma once
// Readers of image files into new images (the file's bytes already in memory for BMP).

#include "Dib.h"

#include <memory>
#include <string>

[[nodiscard]] DibError readPng(const std::string& path, std::unique_ptr<Dib>& out);
[[nodiscard]] DibError readBmp(const std::vector<std::uint8_t>& file, std::unique_ptr<Dib>& out);
