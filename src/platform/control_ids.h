#pragma once
// Identifiers of the standard dialog buttons.
namespace obrix {

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

}  // namespace obrix
