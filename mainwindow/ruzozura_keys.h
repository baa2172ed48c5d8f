// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "elements.h"

// The names of the main window's elements, in one place: the window's table,
// the clock, the handlers and the tests all address the elements through
// these keys, so a name cannot be misspelt in one of them alone.
namespace tessaro::ruzozura
{

// A control array: its elements share the name and differ by index.
struct ElementArray {
    std::string_view name;
    int count;

    constexpr ElementKey operator[](int index) const { return {name, index}; }
};

// Date band.
inline constexpr ElementKey Label4{"Label4"};
inline constexpr ElementKey Label14{"Label14"};
inline constexpr ElementKey Frame19{"Frame19"};
inline constexpr ElementKey Frame20{"Frame20"};
inline constexpr ElementKey Frame21{"Frame21"};
inline constexpr ElementKey Frame22{"Frame22"};
inline constexpr ElementKey Frame23{"Frame23"};
inline constexpr ElementKey Tag1{"Tag1"};
inline constexpr ElementKey Label11{"Label11"};
inline constexpr ElementKey Frame25{"Frame25"};
inline constexpr ElementKey Frame26{"Frame26"};
inline constexpr ElementKey Frame27{"Frame27"};
inline constexpr ElementKey Frame28{"Frame28"};
inline constexpr ElementKey Monat{"Monat"};
inline constexpr ElementKey Label12{"Label12"};
inline constexpr ElementKey Label15{"Label15"};
inline constexpr ElementKey Frame29{"Frame29"};
inline constexpr ElementKey Frame30{"Frame30"};
inline constexpr ElementKey Frame31{"Frame31"};
inline constexpr ElementKey Frame32{"Frame32"};
inline constexpr ElementKey Frame33{"Frame33"};
inline constexpr ElementKey Frame34{"Frame34"};
inline constexpr ElementKey Frame35{"Frame35"};
inline constexpr ElementKey Frame36{"Frame36"};
inline constexpr ElementKey Frame37{"Frame37"};
inline constexpr ElementKey Frame38{"Frame38"};
inline constexpr ElementKey Frame39{"Frame39"};
inline constexpr ElementKey Jahr{"Jahr"};
inline constexpr ElementKey Label13{"Label13"};
inline constexpr ElementKey Line1{"Line1"};

// Time band.
inline constexpr ElementKey Label9{"Label9"};
inline constexpr ElementKey Label6{"Label6"};
inline constexpr ElementArray bin{"bin", 3};         // 1 hours, 2 minutes, 0 seconds
inline constexpr ElementArray bin1{"bin1", 5};       // hours cells, weight 2 to the index
inline constexpr ElementArray binmin1{"binmin1", 6}; // minutes cells
inline constexpr ElementArray binsec1{"binsec1", 6}; // seconds cells
inline constexpr ElementKey Stunde{"Stunde"};
inline constexpr ElementKey Label1{"Label1"};
inline constexpr ElementKey z2{"z2"};
inline constexpr ElementKey Label3{"Label3"};
inline constexpr ElementKey se{"se"};
inline constexpr ElementKey Label2{"Label2"};
inline constexpr ElementArray hex1{"hex1", 3};   // 2 hours, 1 minutes, 0 seconds
inline constexpr ElementArray hexa1{"hexa1", 9}; // 3-5 hours, 6-8 minutes, 0-2 seconds
inline constexpr ElementKey Line2{"Line2"};

// Explanatory texts and bracket lines.
inline constexpr ElementKey Label18{"Label18"};
inline constexpr ElementKey Label17{"Label17"};
inline constexpr ElementKey Label16{"Label16"};
inline constexpr ElementKey Line7{"Line7"};
inline constexpr ElementKey Line6{"Line6"};
inline constexpr ElementKey Line5{"Line5"};
inline constexpr ElementKey Line4{"Line4"};
inline constexpr ElementArray Line3{"Line3", 2};

// Settings band.
inline constexpr ElementKey Label10{"Label10"};
inline constexpr ElementKey Frame18{"Frame18"};
inline constexpr ElementKey Label8{"Label8"};
inline constexpr ElementKey Command2{"Command2"};
inline constexpr ElementKey Command3{"Command3"};
inline constexpr ElementKey Command4{"Command4"};
inline constexpr ElementKey Command5{"Command5"};
inline constexpr ElementKey Label7{"Label7"};
inline constexpr ElementKey Check1{"Check1"};
inline constexpr ElementKey Command1{"Command1"};
inline constexpr ElementKey Label19{"Label19"};
inline constexpr ElementKey Check2{"Check2"};
inline constexpr ElementKey Label21{"Label21"};
inline constexpr ElementKey Check3{"Check3"};

inline constexpr ElementKey Timer1{"Timer1"};

} // namespace tessaro::ruzozura
