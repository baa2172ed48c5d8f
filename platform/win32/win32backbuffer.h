// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

namespace tessaro::win32
{

// An off-screen bitmap for painting: the window's own surface is painted
// there in one go and copied to the screen, so a label never shows half
// drawn.
class BackBuffer
{
public:
    BackBuffer() = default;
    ~BackBuffer() { release(); }
    BackBuffer(const BackBuffer &) = delete;
    BackBuffer &operator=(const BackBuffer &) = delete;

    HDC prepare(HDC screen, int width, int height);
    void releaseIfLarge();
    void release();

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    int m_width = 0;
    int m_height = 0;
};

} // namespace tessaro::win32
