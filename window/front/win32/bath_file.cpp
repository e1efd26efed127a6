// bath_file.cpp: the kept bath as a file, written whole or not at all.
#include "bath_file.h"

#include <shlobj.h>
#include <windows.h>

#include <cstdio>

namespace front::win32 {

namespace {

// The game's own name, ヨポ, as its folder is called.
constexpr const wchar_t* kFolderName = L"\u30E8\u30DD";
// Between the FILETIME epoch (1601) and 1970, in 100-nanosecond steps.
constexpr unsigned long long kUnixEpoch = 116444736000000000ULL;

class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() {
        if (ok()) {
            CloseHandle(m_handle);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool ok() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

std::wstring localAppData() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path))) {
        folder = path;
    }
    CoTaskMemFree(path);
    return folder;
}

} // namespace

BathFile::BathFile()
    : m_folder(localAppData() + L"\\" + kFolderName), m_path(m_folder + L"\\bath") {}

std::optional<std::string> BathFile::fetch() {
    Handle file(CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) {
        return std::nullopt;
    }
    // One byte more than any record, so that a larger file is refused unread.
    std::string bytes(runtime::kLargestRecord + 1, '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        read = 0;
    }
    bytes.resize(read);
    return bytes;
}

bool BathFile::store(std::string_view bytes) {
    CreateDirectoryW(m_folder.c_str(), nullptr);
    const std::wstring temporary = m_path + L".new";
    {
        Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file.ok() ||
            !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr) ||
            written != bytes.size() || !FlushFileBuffers(file.get())) {
            return false;
        }
    }
    return MoveFileExW(temporary.c_str(), m_path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void BathFile::drop() {
    DeleteFileW(m_path.c_str());
}

void BathFile::setAside() {
    const std::wstring bad = m_folder + L"\\bath.bad";
    if (!MoveFileExW(m_path.c_str(), bad.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(m_path.c_str());
    }
}

void BathFile::say(std::string_view line) {
    std::fprintf(stderr, "yopo: %.*s\n", static_cast<int>(line.size()), line.data());
    std::fflush(stderr);
}

runtime::WallClock BathFile::wallNow() const {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const unsigned long long ticks =
        (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<runtime::WallClock>((ticks - kUnixEpoch) / 10000);
}

} // namespace front::win32
