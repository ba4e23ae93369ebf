#include "Placing.h"

#include "platform/IniService.h"

#include <cstdlib>

void writePlace(IniService& ini, const QString& positionFile, const WindowPlace& place)
{
    ini.writeStrings(positionFile, {{PositionSection, QStringLiteral("Monitor"), QString::number(place.monitor)},
                                    {PositionSection, QStringLiteral("X"), QString::number(place.offset.x())},
                                    {PositionSection, QStringLiteral("Y"), QString::number(place.offset.y())}});
}

namespace {

// The shift that brings one of the moving span's ends onto one of a target span's ends; 0 when none is
// within the threshold. Spans are [begin, end).
int snapShift(int begin, int end, const std::vector<std::pair<int, int>>& spans, int threshold)
{
    int best = threshold + 1;
    int shift = 0;
    for (const auto& [b, e] : spans) {
        for (int edge : {b, e}) {
            for (int own : {begin, end}) {
                const int d = edge - own;
                if (std::abs(d) < best) {
                    best = std::abs(d);
                    shift = d;
                }
            }
        }
    }
    return shift;
}

} // namespace

QPoint snapped(const QRect& moving, const std::vector<QRect>& targets, int threshold)
{
    std::vector<std::pair<int, int>> xs, ys;
    for (const QRect& t : targets) {
        xs.emplace_back(t.x(), t.x() + t.width());
        ys.emplace_back(t.y(), t.y() + t.height());
    }
    return moving.topLeft() + QPoint(snapShift(moving.x(), moving.x() + moving.width(), xs, threshold),
                                     snapShift(moving.y(), moving.y() + moving.height(), ys, threshold));
}
