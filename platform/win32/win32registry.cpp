// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32services.h"

#include <windows.h>

#include <algorithm>

namespace tessaro::win32
{
namespace
{

// Predefined roots are negative 32-bit handle values, sign-extended to the
// width of a handle.
HKEY keyOf(std::int32_t root)
{
    return reinterpret_cast<HKEY>(static_cast<INT_PTR>(root));
}
HKEY keyOf(registry::Handle handle)
{
    return reinterpret_cast<HKEY>(handle);
}

} // namespace

long Win32Registry::openKey(std::int32_t root, const std::string &keyName, std::uint32_t access,
                            registry::Handle &handle)
{
    HKEY key = nullptr;
    const LSTATUS result = RegOpenKeyExA(keyOf(root), keyName.c_str(), 0, access, &key);
    handle = result == ERROR_SUCCESS ? reinterpret_cast<registry::Handle>(key) : 0;
    return result;
}

long Win32Registry::queryValue(registry::Handle handle, const std::string &valueName,
                               std::uint32_t &type, std::span<std::uint8_t> data,
                               std::uint32_t &size)
{
    DWORD valueType = 0;
    DWORD dataSize = static_cast<DWORD>(std::min<std::size_t>(size, data.size()));
    const LSTATUS result = RegQueryValueExA(keyOf(handle), valueName.c_str(), nullptr, &valueType,
                                            data.data(), &dataSize);
    type = valueType;
    size = dataSize;
    return result;
}

void Win32Registry::closeKey(registry::Handle handle)
{
    RegCloseKey(keyOf(handle));
}

} // namespace tessaro::win32
