#pragma once

#include <QPoint>
#include <QRect>

// Window layouts are given in twips; the screen has 15 twips to the pixel.
constexpr int kTwipsPerPixel = 15;

constexpr int tw(int twips)
{
    return twips / kTwipsPerPixel;
}

constexpr QPoint twPoint(int left, int top)
{
    return QPoint(tw(left), tw(top));
}

constexpr QRect twRect(int left, int top, int width, int height)
{
    return QRect(tw(left), tw(top), tw(width), tw(height));
}
