#include "PngImageWriter.h"

#include <png.h>

#include <csetjmp>

namespace
{
void appendBytes (png_structp png, png_bytep data, png_size_t length)
{
    auto* bytes = static_cast<std::vector<unsigned char>*> (png_get_io_ptr (png));
    // No exception may cross libpng's C frames: a failure goes back through its own error path.
    try
    {
        bytes->insert (bytes->end(), data, data + length);
    }
    catch (...)
    {
        png_error (png, "out of memory");
    }
}

void flushNothing (png_structp) {}

// Everything libpng touches between setjmp and a possible longjmp lives outside that frame.
bool encode (std::vector<unsigned char>& out, const std::vector<uint32_t>& pixels, int width, int height,
             std::vector<png_byte>& row)
{
    png_structp png = png_create_write_struct (PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct (png);
    if (info == nullptr || setjmp (png_jmpbuf (png)))
    {
        png_destroy_write_struct (&png, &info);
        return false;
    }

    png_set_write_fn (png, &out, appendBytes, flushNothing);
    png_set_IHDR (png, info, static_cast<png_uint_32> (width), static_cast<png_uint_32> (height), 8, PNG_COLOR_TYPE_RGB,
                  PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info (png, info);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const uint32_t pixel =
                pixels[static_cast<size_t> (y) * static_cast<size_t> (width) + static_cast<size_t> (x)];
            row[static_cast<size_t> (x) * 3] = static_cast<png_byte> (pixel >> 16);
            row[static_cast<size_t> (x) * 3 + 1] = static_cast<png_byte> (pixel >> 8);
            row[static_cast<size_t> (x) * 3 + 2] = static_cast<png_byte> (pixel);
        }
        png_write_row (png, row.data());
    }
    png_write_end (png, nullptr);
    png_destroy_write_struct (&png, &info);
    return true;
}
} // namespace

bool encodePngImage (const std::string& path, const std::vector<uint32_t>& pixels, int width, int height,
                     std::vector<unsigned char>& png, std::string& error)
{
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t> (width) * static_cast<size_t> (height))
    {
        error = "cannot write " + path + ": no image to write";
        return false;
    }
    // The caller passes an empty vector today; cleared so that the bytes are always one picture alone.
    png.clear();
    std::vector<png_byte> row (static_cast<size_t> (width) * 3);
    if (encode (png, pixels, width, height, row))
        return true;
    error = "cannot write " + path + ": the PNG encoder failed";
    return false;
}
