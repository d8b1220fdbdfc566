// The values the graphics state is made of: an item with the record that set it, points,
// sizes, rectangles and transforms.
#pragma once

#include <cstdint>

// The record that set an item the playback starts with: no record did.
inline constexpr int32_t kDefaultState = -1;

// An item's value and the record that last set it.
template <typename T>
struct Item {
    T value{};
    int32_t set_by = kDefaultState;
    void Set(const T& to, int32_t record) {
        value = to;
        set_by = record;
    }
};

struct PointL {
    int32_t x = 0;
    int32_t y = 0;
};
struct SizeL {
    int32_t cx = 0;
    int32_t cy = 0;
};
struct RectL {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// x' = x * m11 + y * m21 + dx, y' = x * m12 + y * m22 + dy.
struct Transform {
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
};
// `first` applied, then `second`.
Transform Multiply(const Transform& first, const Transform& second);
double Determinant(const Transform& t);
