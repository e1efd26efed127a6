// web_view.h: what the page shows of the form: the frame its canvas paints,
// the elements it lays over the canvas, and the words screen readers hear.
#pragma once

#include "announcements.h"
#include "drawing.h"
#include "form.h"
#include "paint_list.h"
#include "run_time_error.h"

#include <optional>
#include <string>
#include <utility>

namespace front::web {

using forms::Colour;
using forms::CommandButton;
using forms::Control;
using forms::Form;
using forms::FormObserver;
using forms::Property;
using forms::RunTimeError;
using forms::TextMetrics;

class WebView : private FormObserver {
public:
    // `metrics` are the page's, as the form measures its labels with.
    WebView(Form& form, const TextMetrics& metrics);
    ~WebView() override;
    WebView(const WebView&) = delete;
    WebView& operator=(const WebView&) = delete;

    // The frame at `ratio` device pixels to the layout pixel.
    const PaintList& frame(double ratio);

    // One line of JSON for the page's own elements, as screen readers are
    // to find them:
    //   "window": {"name", "width", "height", "title", "danger"}: its name,
    //     its client area in the layout's pixels, and what the page's tab
    //     says: the window's caption, or while the window shakes the first
    //     line of the master's words, "danger" true;
    //   "controls": in the order screen readers walk them, the master's
    //     message first, then the window's own order, each {"id",
    //     "role" ("button", "text", "status" or "img"), "name", "enabled",
    //     "shown", "area": [left, top, width, height] in device pixels at
    //     `ratio`, the shake included, "em": its font's em in device
    //     pixels}; the status is the master's message, whose text is only
    //     ever what is announced;
    //   "say": the words to announce now, if any (each only once);
    //   "focus": the button the focus is to go to now, if it is to move
    //     ("" for the window itself);
    //   "stopped": the report of the run-time error that stopped the game.
    std::string describe(double ratio, const std::optional<RunTimeError>& stopped);

    // What screen readers read of the master's message, as the runtime
    // that hosts this view keeps it, and the words it announces, said at
    // the next describe().
    void setAnnouncements(const runtime::Announcements* announcements) {
        m_announcements = announcements;
    }
    void say(std::string words) { m_say = std::move(words); }

    // The focus is to go to `button` (nullptr: the window itself), said at
    // the next describe().
    void focusOn(const CommandButton* button) { m_focus = button ? button->name() : std::string(); }

    // Everything stands `offset` aside from where the layout puts it, on a
    // ground of `ground`, as the shared runtime decides.
    void showContents(drawing::ContentsOffset offset, Colour ground) {
        m_offset = offset;
        m_ground = ground;
    }

private:
    void controlChanged(const Control&, Property) override {}
    void formChanged(Property property) override;

    Form& m_form;
    const TextMetrics& m_metrics;
    drawing::ContentsOffset m_offset;
    std::optional<Colour> m_ground;
    PaintList m_frame;
    const runtime::Announcements* m_announcements = nullptr;
    // Until a runtime hosts the view: nothing said yet.
    runtime::Announcements m_unannounced{m_form};
    std::optional<std::string> m_say;
    std::optional<std::string> m_focus;
    // The game has moved the window: it shakes, after a catastrophe.
    bool m_shaking = false;
};

} // namespace front::web
