#pragma once
// The colours the needle and its trace share. Private to platform_ui_qt.

#include <QColor>

namespace platform::ui::qt {

// The lamps' lens colours (tools/draw_lamps.py), so the needle, the trace and the lamp agree.
inline const QColor kInZone{0x2f, 0xdc, 0x7f};
inline const QColor kOutOfZone{0xff, 0xc6, 0x2b};
inline const QColor kGaugeTrack{0x26, 0x31, 0x3e};
inline const QColor kGaugeTick{0x8d, 0x9a, 0xa8};
// How strongly the in-tune zone shows, lit and unlit.
inline constexpr int kZoneLitAlpha = 150;
inline constexpr int kZoneUnlitAlpha = 70;

}  // namespace platform::ui::qt
