#pragma once

#include <cstdint>
#include <string>
#include <vector>

/** Writes 0xAARRGGBB pixels, row by row, as an 8-bit RGB PNG file (alpha dropped: the pixels are
    a window's, always opaque). The file is written under a temporary name and renamed, so a
    failed write leaves no partial file. False with a message on failure. */
bool writePngImage (const std::string& path, const std::vector<uint32_t>& pixels, int width, int height,
                    std::string& error);
