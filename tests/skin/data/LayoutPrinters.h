#pragma once
// How the tests print layout rectangles and pieces when an expectation fails.

#include <ostream>

#include "skin/data/ElementLayout.h"

namespace vx {

inline void PrintTo(const TLayoutRect& r, std::ostream* os) {
    *os << "(" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << ")";
}
inline void PrintTo(const TPiece& p, std::ostream* os) {
    PrintTo(p.Source, os);
    *os << "->";
    PrintTo(p.Dest, os);
}

}  // namespace vx
