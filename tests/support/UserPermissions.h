#pragma once
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// For its life, the calling thread is held to the permissions of files and
// folders as any user is: the superuser's rights to write, read and search
// whatever the permissions say are set aside, and given back at the end.
// An ordinary user has none of them, and nothing changes.
class UserPermissions {
public:
    UserPermissions()
    {
        if (::syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct held[2] = {m_saved[0], m_saved[1]};
        held[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        m_changed = ::syscall(SYS_capset, &m_header, held) == 0;
    }
    ~UserPermissions()
    {
        if (m_changed)
            ::syscall(SYS_capset, &m_header, m_saved);
    }
    UserPermissions(const UserPermissions&) = delete;
    UserPermissions& operator=(const UserPermissions&) = delete;

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_changed = false;
};
