#include "PngImageWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

namespace
{
struct FileCloser
{
    void operator() (std::FILE* file) const noexcept { std::fclose (file); }
};

// Everything libpng touches between setjmp and a possible longjmp lives outside that frame.
bool encode (std::FILE* file, const std::vector<uint32_t>& pixels, int width, int height, std::vector<png_byte>& row)
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

    png_init_io (png, file);
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

bool writePngImage (const std::string& path, const std::vector<uint32_t>& pixels, int width, int height,
                    std::string& error)
{
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t> (width) * static_cast<size_t> (height))
    {
        error = "cannot write " + path + ": no image to write";
        return false;
    }

    const std::string temporary = path + ".partial";
    bool written = false;
    {
        std::unique_ptr<std::FILE, FileCloser> file (std::fopen (temporary.c_str(), "wb"));
        if (file == nullptr)
        {
            error = "cannot write " + path;
            return false;
        }
        std::vector<png_byte> row (static_cast<size_t> (width) * 3);
        written = encode (file.get(), pixels, width, height, row) && std::fflush (file.get()) == 0 &&
                  std::ferror (file.get()) == 0;
    }
    if (! written || std::rename (temporary.c_str(), path.c_str()) != 0)
    {
        std::remove (temporary.c_str());
        error = "cannot write " + path;
        return false;
    }
    return true;
}
