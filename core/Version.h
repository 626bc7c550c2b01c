#pragma once

// The version of every Velmora program, printed by the tools' --version.
inline constexpr char kVelmoraVersion[] = "0.5.0";
