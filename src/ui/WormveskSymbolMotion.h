#pragma once

namespace vesk {

// The Vesk symbol's pose at one instant: a slow tilt wobble, vertical
// breathing, pulsing rings and a glow cycle, each a sine of its own period.
struct WormveskSymbolMotion {
    double tilt = -22;  // degrees, clockwise on screen
    double breathe = 1; // vertical scale of the core
    double pulse = 0.5; // 0 to 1
    double glow = 0.5;  // 0 to 1

    // At `t` seconds since the reference date (2001-01-01).
    static WormveskSymbolMotion at(double t);
    // The fixed pose under reduced motion.
    static WormveskSymbolMotion still() { return {}; }

    // Scale of the accent rings and the hot spot.
    double pulseScale() const { return 1 + 0.035 * pulse; }
    double accentRingOpacity() const { return 0.92 + 0.08 * pulse; }
    // The ready glow's opacity and radius.
    double glowOpacity() const { return 0.14 + 0.16 * glow; }
    double glowRadius() const { return 10 + 12 * glow; }
};

} // namespace vesk
