// bath_file.h: the bath kept in one file of the XDG state folder,
// $XDG_STATE_HOME/yopo/bath (by default ~/.local/state/yopo/bath).
#pragma once

#include "bath_keeper.h"

#include <QString>

namespace front::qt {

class BathFile : public runtime::BathStore {
public:
    // The file in the player's state folder.
    BathFile();
    explicit BathFile(QString path) : m_path(std::move(path)) {}
    ~BathFile() override;
    BathFile(const BathFile&) = delete;
    BathFile& operator=(const BathFile&) = delete;

    const QString& path() const { return m_path; }

    std::optional<std::string> fetch() override;
    // Written over the record before, in place, in one write: the file holds
    // the old record or the new, never half of one.
    bool store(std::string_view bytes) override;
    void drop() override;
    // Renamed bath.bad, in place of an older one.
    void setAside() override;
    void say(std::string_view line) override;
    runtime::WallClock wallNow() const override;

private:
    // The record's file, open from the first record kept until the bath
    // ends: its length now, or none if it cannot be opened.
    std::optional<std::size_t> openRecord();
    void closeRecord();

    QString m_path;
    int m_fd = -1;
};

} // namespace front::qt
