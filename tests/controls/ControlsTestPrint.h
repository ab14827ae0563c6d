// How GoogleTest prints the framework's point, size and rectangle in failure messages.
#pragma once

#include <ostream>

#include "framework/AfxTypes.h"

inline void PrintTo(const CPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
inline void PrintTo(const CSize& s, std::ostream* os) { *os << s.cx << " x " << s.cy; }
inline void PrintTo(const CRect& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
