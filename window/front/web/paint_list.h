// paint_list.h: a frame as the page paints it: runs of whole pixels, pictures
// and lines of text, as one flat row of numbers.
#pragma once

#include "drawing.h"

#include <string>
#include <vector>

namespace front::web {

// A canvas has no way to set a single pixel but fillRect, and its lines and
// arcs are antialiased; so every shape of the frame becomes the runs of
// whole device pixels it covers, as the drawing defines them, and the page
// fills each run. Pictures and text go to the page as they are.
//
// The numbers, read by the page straight from the module's memory:
//   [0] how many numbers there are, these four included
//   [1] [2] the frame's width and height in device pixels
//   [3] its ratio
// then one entry after another, each starting with its kind:
//   Fill:    kind, left, top, width, height, colour
//   Picture: kind, left, top, width, height, smooth (0 or 1), name
//   Text:    kind, x, y (the baseline's start), em in device pixels, bold, colour, text
// A colour is 0x00BBGGRR; a name or text is the address of its UTF-8,
// NUL-terminated, valid until the next frame.
class PaintList {
public:
    enum Kind { Fill = 0, Picture = 1, Text = 2 };
    static constexpr int kHeader = 4;

    // Replaces the list with `frame`'s.
    void paint(const drawing::Frame& frame);

    const std::vector<double>& numbers() const { return m_numbers; }

private:
    void fill(int left, int top, int width, int height, forms::Colour colour);
    void add(const drawing::FillRect& fill);
    void add(const drawing::Hairline& line);
    void add(const drawing::WideLine& line);
    void add(const drawing::RoundedRect& shape);
    void add(const drawing::Picture& picture);
    void add(const drawing::TextRun& run);
    // Each row's pixels, left to right, as runs.
    void fillRows(std::vector<drawing::DevicePixel> pixels, forms::Colour colour);
    double string(std::string text);

    std::vector<double> m_numbers;
    std::vector<std::string> m_strings;
    // Where each string's address goes once the list is complete.
    std::vector<std::size_t> m_stringAt;
};

} // namespace front::web
