// Points and rectangles in signed pixels; right and bottom are exclusive.
#pragma once
#include <algorithm>

namespace vesk {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;

    static Rect ofSize(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    Rect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    Rect shrunk(int l, int t, int r, int b) const { return {left + l, top + t, right - r, bottom - b}; }
    Rect intersect(const Rect& o) const {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
        return r.empty() ? Rect{} : r;
    }
    // Smallest rectangle holding both; an empty side does not count.
    Rect unite(const Rect& o) const {
        if (empty()) return o.empty() ? Rect{} : o;
        if (o.empty()) return *this;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace vesk
