// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegistryKeptWindows.h"

#include <windows.h>

#include <map>
#include <optional>

namespace {

struct Value
{
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    bool operator==(const Value &) const = default;
};

struct Key
{
    std::map<std::wstring, Value> values;
    std::map<std::wstring, Key> keys;
};

class OpenKey
{
public:
    OpenKey(HKEY parent, const std::wstring &path, bool create)
    {
        const REGSAM access = KEY_READ | (create ? KEY_WRITE : 0);
        const LONG result = create
                                ? RegCreateKeyExW(parent, path.c_str(), 0, nullptr, 0, access, nullptr, &m_key, nullptr)
                                : RegOpenKeyExW(parent, path.c_str(), 0, access, &m_key);
        if (result != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~OpenKey()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    OpenKey(const OpenKey &) = delete;
    OpenKey &operator=(const OpenKey &) = delete;
    HKEY get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

void read(HKEY key, Key &into)
{
    DWORD longestSubkey = 0, longestName = 0, largestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &longestSubkey, nullptr, nullptr, &longestName,
                         &largestData, nullptr, nullptr)
        != ERROR_SUCCESS)
        return;
    std::vector<wchar_t> name(longestName + 2);
    std::vector<BYTE> data(largestData + 2);
    for (DWORD i = 0;; ++i) {
        auto nameSize = DWORD(name.size());
        auto dataSize = DWORD(data.size());
        DWORD type = REG_NONE;
        const LONG result = RegEnumValueW(key, i, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result == ERROR_SUCCESS)
            into.values[std::wstring(name.data(), nameSize)] = {type, {data.begin(), data.begin() + dataSize}};
    }
    std::vector<wchar_t> subkey(longestSubkey + 2);
    for (DWORD i = 0;; ++i) {
        auto size = DWORD(subkey.size());
        const LONG result = RegEnumKeyExW(key, i, subkey.data(), &size, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS)
            continue;
        const std::wstring child(subkey.data(), size);
        if (const OpenKey opened(key, child, false); opened.get())
            read(opened.get(), into.keys[child]);
    }
}

void restore(HKEY key, const Key &was)
{
    Key now;
    read(key, now);
    for (const auto &[name, value] : now.values) {
        if (!was.values.contains(name))
            RegDeleteValueW(key, name.c_str());
    }
    for (const auto &[name, value] : was.values) {
        const auto found = now.values.find(name);
        if (found == now.values.end() || !(found->second == value))
            RegSetValueExW(key, name.c_str(), 0, value.type, value.data.data(), DWORD(value.data.size()));
    }
    for (const auto &[name, child] : now.keys) {
        if (!was.keys.contains(name))
            RegDeleteTreeW(key, name.c_str());
    }
    for (const auto &[name, child] : was.keys) {
        if (const OpenKey opened(key, name, true); opened.get())
            restore(opened.get(), child);
    }
}

bool exists(const std::wstring &path)
{
    return OpenKey(HKEY_CURRENT_USER, path, false).get() != nullptr;
}

} // namespace

struct RegistryKept::Kept
{
    std::wstring path;
    // The key as it was, or the outermost of its parents that was missing.
    std::optional<Key> was;
    std::wstring missing;
};

RegistryKept::RegistryKept(const std::vector<std::wstring> &paths)
{
    for (const std::wstring &path : paths) {
        auto kept = std::make_unique<Kept>();
        kept->path = path;
        if (const OpenKey opened(HKEY_CURRENT_USER, path, false); opened.get()) {
            kept->was.emplace();
            read(opened.get(), *kept->was);
        } else {
            for (size_t end = path.find(L'\\');; end = path.find(L'\\', end + 1)) {
                const std::wstring part = path.substr(0, end);
                if (!exists(part)) {
                    kept->missing = part;
                    break;
                }
                if (end == std::wstring::npos)
                    break;
            }
        }
        m_kept.push_back(std::move(kept));
    }
}

RegistryKept::~RegistryKept()
{
    for (const auto &kept : m_kept) {
        if (!kept->was) {
            if (!kept->missing.empty()) {
                RegDeleteTreeW(HKEY_CURRENT_USER, kept->missing.c_str());
                RegDeleteKeyW(HKEY_CURRENT_USER, kept->missing.c_str());
            }
            continue;
        }
        if (const OpenKey opened(HKEY_CURRENT_USER, kept->path, true); opened.get())
            restore(opened.get(), *kept->was);
    }
}
