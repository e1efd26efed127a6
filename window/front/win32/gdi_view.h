// gdi_view.h: paints a form's frame with GDI, double-buffered.
#pragma once

#include "drawing.h"
#include "pictures.h"

#include <windows.h>

#include <map>
#include <optional>
#include <utility>

namespace front::win32 {

using forms::Colour;
using forms::Form;
using forms::TextMetrics;

// Rasterises the drawing's device-pixel primitives, first to last, into a
// back buffer the size of the client area and copies it to the window in one
// BitBlt, so a paint never shows half a frame. It decides no pixel itself.
class GdiView {
public:
    GdiView(const Form& form, const TextMetrics& metrics, Pictures& pictures);
    ~GdiView();
    GdiView(const GdiView&) = delete;
    GdiView& operator=(const GdiView&) = delete;

    // Paints the whole frame at `ratio` device pixels to the layout pixel.
    void paint(HDC target, double ratio);
    // Paints the ground in `colour` from now on, whatever the form's
    // BackColor; returns whether that is a change.
    bool setGround(Colour colour);

private:
    void ensureBuffer(int width, int height);
    void rasterise(const drawing::Primitive& primitive);
    void fill(const drawing::FillRect& fill);
    void hairline(const drawing::Hairline& line);
    void wideLine(const drawing::WideLine& line);
    void roundedRect(const drawing::RoundedRect& shape);
    void picture(const drawing::Picture& picture);
    void text(const drawing::TextRun& run);
    HFONT font(int emPixels, bool bold);

    const Form& m_form;
    // The ground's colour, where it is not the form's BackColor.
    std::optional<Colour> m_ground;
    const TextMetrics& m_metrics;
    Pictures& m_pictures;
    HDC m_buffer = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previousBitmap = nullptr;
    std::uint32_t* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
    std::map<std::pair<int, bool>, HFONT> m_fonts;
};

} // namespace front::win32
