// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the Windows icon file of the program from the icon's pixel data.
// The file is kept in the sources (packaging/windows/tessaro.ico), so that a
// Windows build needs no tool of its own to make it; a test checks that it
// still matches the pixel data.
//
//   tessaro_icowriter OUTPUT_FILE
#include "icofile.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace
{

// Writes all or nothing: a half-written icon never replaces a good one.
void writeFile(const std::filesystem::path &path, const std::vector<std::uint8_t> &bytes)
{
    std::filesystem::path partial = path;
    partial += ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out)
            throw std::runtime_error("cannot write " + partial.string());
    }
    std::filesystem::rename(partial, path);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessaro_icowriter OUTPUT_FILE\n");
        return 2;
    }
    try {
        writeFile(argv[1], tessaro::windowIconFile());
    } catch (const std::exception &error) {
        std::fprintf(stderr, "tessaro_icowriter: %s\n", error.what());
        return 1;
    }
    return 0;
}
