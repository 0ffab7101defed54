#pragma once

#include <cstdint>
#include <string>
#include <vector>

/** Encodes 0xAARRGGBB pixels, row by row, as the bytes of an 8-bit RGB PNG file (alpha dropped:
    the pixels are a window's, always opaque), for the atomic writer to write. False with a message
    naming `path` when there is no image or the encoder fails. */
bool encodePngImage (const std::string& path, const std::vector<uint32_t>& pixels, int width, int height,
                     std::vector<unsigned char>& png, std::string& error);
