#pragma once

#include <array>

class Monitors;

// A monitor count and the sizes of at most the first four monitors; later ones are counted, never measured.
struct MonitorLayout
{
    static constexpr int MeasuredScreens = 4;

    int ScreenCount = 0;
    std::array<int, MeasuredScreens> ScreenWidth{};
    std::array<int, MeasuredScreens> ScreenHeight{};

    static MonitorLayout capture(const Monitors& monitors);
};
