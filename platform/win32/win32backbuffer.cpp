// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32backbuffer.h"

namespace tessaro::win32
{

namespace
{

// A 32-bit DIB section rather than a compatible bitmap. Under wine a
// compatible bitmap's pixels come from the process's C heap, which keeps the
// memory of the first, window-sized paint for good (about 0.4 MiB of private
// memory at idle); a DIB section's pixels are mapped for it alone and go back
// to the system when the paint deletes it.
HBITMAP createPixelBuffer(HDC screen, int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    return CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

} // namespace

HDC BackBuffer::prepare(HDC screen, int width, int height)
{
    if (m_dc && m_width >= width && m_height >= height)
        return m_dc;
    release();
    m_dc = CreateCompatibleDC(screen);
    m_bitmap = createPixelBuffer(screen, width, height);
    m_previous = SelectObject(m_dc, m_bitmap);
    m_width = width;
    m_height = height;
    return m_dc;
}

// The small buffer of an idle second's paint stays for the next one, which
// saves mapping fresh pages every second; a large one goes at once.
void BackBuffer::releaseIfLarge()
{
    constexpr int keptPixels = 32 * 1024;
    if (m_width * m_height > keptPixels)
        release();
}

void BackBuffer::release()
{
    if (!m_dc)
        return;
    SelectObject(m_dc, m_previous);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
    m_dc = nullptr;
    m_bitmap = nullptr;
}

} // namespace tessaro::win32
