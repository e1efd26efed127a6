// start_up.cpp: the pictures' check and the maintainers' time scale.
#include "start_up.h"

#include <cstdlib>

namespace runtime {

std::optional<std::string> damagedPictures(const forms::Form& form,
                                           const std::function<bool(const std::string&)>& decodes) {
    std::vector<std::string> names = {form.icon()};
    for (const auto& control : form.controls()) {
        if (const auto* image = dynamic_cast<const forms::Image*>(control.get())) {
            names.push_back(image->picture());
        }
    }
    std::string broken;
    for (const std::string& name : names) {
        if (!decodes(name)) {
            broken.append(broken.empty() ? "" : ", ").append(name);
        }
    }
    if (broken.empty()) {
        return std::nullopt;
    }
    std::string words = "cannot read the picture ";
    words.append(broken).append("; the program is damaged, reinstall it");
    return words;
}

std::optional<double> maintainersTimeScale() {
    const char* scale = std::getenv("YOPO_TIME_SCALE");
    if (scale == nullptr) {
        return std::nullopt;
    }
    const double times = std::strtod(scale, nullptr);
    return times > 0 ? std::optional(times) : std::nullopt;
}

} // namespace runtime
