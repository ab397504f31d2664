// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

// Keys under HKEY_CURRENT_USER that dialogs write their state to, put back
// as they were once the object goes: values of every type byte for byte,
// subkeys and values that appeared in the meantime removed, and a key that
// did not exist (or whose parent did not) gone again.
class RegistryKept
{
public:
    explicit RegistryKept(const std::vector<std::wstring> &paths);
    ~RegistryKept();
    RegistryKept(const RegistryKept &) = delete;
    RegistryKept &operator=(const RegistryKept &) = delete;

    struct Kept;

private:
    std::vector<std::unique_ptr<Kept>> m_kept;
};

// Where Windows' own file dialogs keep their recent files and folders, and
// where Qt's file and colour dialogs keep theirs (shared by every Qt program).
inline const std::wstring ComDlg32Key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32";
inline const std::wstring QtProjectKey = L"Software\\QtProject";
