#pragma once

// A rectangle of four floats, kept in the order of its text form: left, top, right, bottom.
class CRect {
public:
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;

    CRect() = default;
    CRect(float leftValue, float topValue, float rightValue, float bottomValue)
        : left(leftValue), top(topValue), right(rightValue), bottom(bottomValue) {}

    bool operator==(const CRect& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
};
