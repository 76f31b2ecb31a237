#include "exchange/formats/jsonnesting.h"

#include <algorithm>

JsonShape MeasureJson(std::span<const uint8_t> text) {
    JsonShape shape;
    size_t depth = 0;
    bool inString = false, escaped = false;
    for (uint8_t c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            shape.deepest = std::max(shape.deepest, ++depth);
            ++shape.elements;
        } else if (c == ',') {
            ++shape.elements;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return shape;
}
