// paint_list.cpp: each shape of the frame as the whole device pixels it covers.
#include "paint_list.h"

#include <algorithm>
#include <cstdint>

namespace front::web {

void PaintList::paint(const drawing::Frame& frame) {
    m_numbers.assign(
        {0, static_cast<double>(frame.width), static_cast<double>(frame.height), frame.ratio});
    m_strings.clear();
    m_stringAt.clear();
    for (const drawing::Primitive& primitive : frame.primitives) {
        std::visit([this](const auto& shape) { add(shape); }, primitive);
    }
    // The strings stay put from here until the next frame.
    for (std::size_t i = 0; i < m_strings.size(); ++i) {
        m_numbers[m_stringAt[i]] =
            static_cast<double>(reinterpret_cast<std::uintptr_t>(m_strings[i].c_str()));
    }
    m_numbers[0] = static_cast<double>(m_numbers.size());
}

void PaintList::fill(int left, int top, int width, int height, forms::Colour colour) {
    m_numbers.insert(m_numbers.end(), {Fill, static_cast<double>(left), static_cast<double>(top),
                                       static_cast<double>(width), static_cast<double>(height),
                                       static_cast<double>(colour)});
}

double PaintList::string(std::string text) {
    m_stringAt.push_back(m_numbers.size());
    m_strings.push_back(std::move(text));
    return 0;
}

void PaintList::add(const drawing::FillRect& shape) {
    fill(shape.rect.left, shape.rect.top, shape.rect.width, shape.rect.height, shape.colour);
}

void PaintList::add(const drawing::Hairline& line) {
    for (const drawing::DeviceRect& run : drawing::runsOf(line)) {
        fill(run.left, run.top, run.width, run.height, line.colour);
    }
}

// The pixels whose centres lie within half the width of the segment.
void PaintList::add(const drawing::WideLine& line) {
    fillRows(drawing::pixelsOf(line), line.colour);
}

void PaintList::add(const drawing::RoundedRect& shape) {
    if (shape.fill) {
        for (const drawing::DeviceRect& run : drawing::fillRunsOf(shape)) {
            fill(run.left, run.top, run.width, run.height, *shape.fill);
        }
    }
    if (shape.outline) {
        fillRows(drawing::outlineOf(shape), *shape.outline);
    }
}

void PaintList::fillRows(std::vector<drawing::DevicePixel> pixels, forms::Colour colour) {
    std::sort(pixels.begin(), pixels.end(),
              [](const auto& a, const auto& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
    for (std::size_t i = 0; i < pixels.size();) {
        std::size_t end = i + 1;
        while (end < pixels.size() && pixels[end].y == pixels[i].y &&
               pixels[end].x == pixels[end - 1].x + 1) {
            ++end;
        }
        fill(pixels[i].x, pixels[i].y, static_cast<int>(end - i), 1, colour);
        i = end;
    }
}

void PaintList::add(const drawing::Picture& picture) {
    const drawing::DeviceRect& area = picture.rect;
    m_numbers.insert(m_numbers.end(),
                     {Picture, static_cast<double>(area.left), static_cast<double>(area.top),
                      static_cast<double>(area.width), static_cast<double>(area.height),
                      picture.smooth ? 1.0 : 0.0});
    m_numbers.push_back(string(picture.name));
}

void PaintList::add(const drawing::TextRun& run) {
    m_numbers.insert(m_numbers.end(), {Text, run.origin.x, run.origin.y, run.emPixels,
                                       run.bold ? 1.0 : 0.0, static_cast<double>(run.colour)});
    m_numbers.push_back(string(run.text));
}

} // namespace front::web
