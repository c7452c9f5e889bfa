#pragma once

// The sun's and the moon's ecliptic longitudes of the lunisolar engine (modOldCal): truncated periodic series,
// kept exactly as the engine has always computed them.

// Ecliptic longitudes in degrees 0..360 at t Julian centuries from J2000.
double SunLong(double t);
double MoonLong(double t);

// The angle reduced to 0..360 degrees. A negative whole multiple of 360 gives 360, not 0.
double NormAngle(double angle);
