// bath_file.h: the bath kept in one file of the player's local application
// data, %LOCALAPPDATA%\ヨポ\bath.
#pragma once

#include "bath_keeper.h"

#include <string>

namespace front::win32 {

class BathFile : public runtime::BathStore {
public:
    // The file in the player's local application data.
    BathFile();

    std::optional<std::string> fetch() override;
    // A temporary file beside it, flushed to the disk, then moved over it:
    // a power cut leaves the old record or the new, never half of one.
    bool store(std::string_view bytes) override;
    void drop() override;
    // Renamed bath.bad, in place of an older one.
    void setAside() override;
    void say(std::string_view line) override;
    runtime::WallClock wallNow() const override;

private:
    std::wstring m_folder;
    std::wstring m_path;
};

} // namespace front::win32
