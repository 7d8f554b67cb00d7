// The volume's one scale: the engine's hundredths of a decibel, and the three other scales it is
// shown or applied in: the volume bar's fill, the desktop's 0..1 (MPRIS) and mpv's 0..100.
// Both of the latter are cubic, as PulseAudio's and mpv's sliders are: v is a gain of v³,
// 60·log10(v) dB, so a half is about -18 dB.
#pragma once

#include <optional>

namespace Volume {

// An empty and a full volume bar.
inline constexpr int silence = -7500;
inline constexpr int full = 0;
// One step of the volume keys and the wheel: a twentieth of the bar, 3.75 dB.
inline constexpr int step = (full - silence) / 20;

// The volume at a fill of the bar, rounded half to even, not clamped: the engine limits it.
// Nothing when the bar has no width or the value would not fit.
std::optional<int> fromBar(double fillWidth, double barWidth);
// How full the bar is: 0 silent, 1 full.
double barFraction(int volume);
// steps away from volume (down when negative), kept between silence and full.
int stepped(int volume, int steps);

// The desktop's 0..1; silence and below read as 0. Values past either end are the ends.
double toBus(int volume);
int fromBus(double bus);

// mpv's volume property; above full is full.
double toMpv(int volume);

} // namespace Volume
